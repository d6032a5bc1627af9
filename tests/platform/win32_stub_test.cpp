// The Win32 stand-in: library loading in the host's path spelling, the message box observer and the
// performance counter.
#include <windows.h>
#include <winstub.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

std::string withBackslashes(std::string path)
{
    for (char& c : path)
        if (c == '/')
            c = '\\';
    return path;
}

using AnswerFn = int (*)();

// FARPROC is a generic code pointer; going through void(*)() is the sanctioned way to retype it.
AnswerFn answerOf(HMODULE lib)
{
    return reinterpret_cast<AnswerFn>(reinterpret_cast<void (*)()>(GetProcAddress(lib, "fixtureAnswer")));
}

struct Shown {
    std::string caption, text;
    UINT type;
};

void recordMessage(const char* caption, const char* text, UINT type, void* context)
{
    static_cast<std::vector<Shown>*>(context)->push_back({caption, text, type});
}

} // namespace

TEST(LoadLibrary, LoadsAPathWrittenWithBackslashesAndResolvesItsExports)
{
    HMODULE lib = LoadLibraryA(withBackslashes(FIXTURE_LIBRARY).c_str());
    ASSERT_NE(lib, nullptr);
    AnswerFn answer = answerOf(lib);
    ASSERT_NE(answer, nullptr);
    EXPECT_EQ(answer(), 42);
    EXPECT_EQ(GetProcAddress(lib, "noSuchExport"), nullptr);
    EXPECT_TRUE(FreeLibrary(lib));
}

TEST(LoadLibrary, MissingLibraryAndNullArgumentsFailWithoutCrashing)
{
    EXPECT_EQ(LoadLibraryA("modules\\no_such_library.dll"), nullptr);
    EXPECT_EQ(LoadLibraryA(""), nullptr);
    EXPECT_EQ(LoadLibraryA(nullptr), nullptr);
    EXPECT_EQ(GetProcAddress(nullptr, "fixtureAnswer"), nullptr);
    EXPECT_FALSE(FreeLibrary(nullptr));
}

TEST(LoadLibrary, LoadingTwiceGivesOneInstanceThatLivesUntilTheLastFree)
{
    HMODULE first = LoadLibraryA(FIXTURE_LIBRARY);
    HMODULE second = LoadLibraryA(withBackslashes(FIXTURE_LIBRARY).c_str());
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(first, second);
    EXPECT_TRUE(FreeLibrary(second));
    AnswerFn answer = answerOf(first);
    ASSERT_NE(answer, nullptr);
    EXPECT_EQ(answer(), 42);

    HMODULE owner = nullptr;
    ASSERT_TRUE(
        GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
            reinterpret_cast<LPCSTR>(answer), &owner));
    EXPECT_EQ(owner, first);
    EXPECT_TRUE(FreeLibrary(first));
}

TEST(LocalPath, TurnsBackslashesIntoSlashesAndRefusesWhatDoesNotFit)
{
    char out[32];
    ASSERT_TRUE(winstubLocalPath("config\\vessels\\HazeCarrier.cfg", out, sizeof out));
    EXPECT_STREQ(out, "config/vessels/HazeCarrier.cfg");
    char tiny[8];
    EXPECT_FALSE(winstubLocalPath("meshes\\hazeves.msh", tiny, sizeof tiny));
    EXPECT_STREQ(tiny, "");
}

TEST(MessageBox, ReachesTheObserverWithCaptionTextAndButtonsAndAnswersOk)
{
    std::vector<Shown> shown;
    winstubSetMessageObserver(recordMessage, &shown);
    EXPECT_EQ(MessageBoxA(nullptr, "100% done", "Error!", MB_OK), IDOK);
    winstubSetMessageObserver(nullptr, nullptr);
    EXPECT_EQ(MessageBoxA(nullptr, "unobserved", "Note", MB_OK), IDOK);
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].caption, "Error!");
    EXPECT_EQ(shown[0].text, "100% done");
    EXPECT_EQ(shown[0].type, MB_OK);
}

TEST(PerformanceCounter, IsMonotonicWithAPositiveFrequency)
{
    LARGE_INTEGER f, a, b;
    ASSERT_TRUE(QueryPerformanceFrequency(&f));
    EXPECT_GT(f.QuadPart, 0);
    ASSERT_TRUE(QueryPerformanceCounter(&a));
    ASSERT_TRUE(QueryPerformanceCounter(&b));
    EXPECT_LE(a.QuadPart, b.QuadPart);
    EXPECT_FALSE(QueryPerformanceCounter(nullptr));
}

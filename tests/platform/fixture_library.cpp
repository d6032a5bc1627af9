// A tiny library for the loader tests.
extern "C" __attribute__((visibility("default"))) int fixtureAnswer()
{
    return 42;
}

// Loading and binding of the engine library.
#pragma once

// Checks the host's version, loads "modules\veilcore.dll", resolves "initint", fills the host service
// table and hands it to initint, resolves "maincall", checks that the engine's installer left the
// carrier's files, and sets engineBound. Each failure shows exactly one message box (caption
// "Error!", OK only, no owner) and leaves the plug-in unbound; an unsupported host gets no engine
// loaded at all, and a library that loaded stays loaded until releaseEngine. Call once.
void bindEngine();

// Shows text in a modal message box without owner, caption "Error!", OK only.
void showError(const char* text);

// Frees the engine library if one was loaded and forgets maincall, so that nothing can call into an
// unmapped library; engineBound keeps its value.
void releaseEngine();

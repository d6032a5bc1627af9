// Loading and binding of the engine library.
#pragma once

// Loads "modules\veilcore.dll", resolves "initint", fills the host service
// table and hands it to initint, resolves "maincall", checks that the engine's installer left the
// carrier's files, and sets engineBound. Each failure shows exactly one message box (caption
// "Error!", OK only, no owner) and leaves the plug-in unbound; a library that loaded stays loaded
// until releaseEngine. Once bound, picks the placement record for the host's version and writes one
// line to the host's log: the add-on's version, the host's and the record. Call once.
void bindEngine();

// Shows text in a modal message box without owner, caption "Error!", OK only.
void showError(const char* text);

// The host cannot carry the haze: shows text as showError does and sets addonRefused, so that no
// carrier is asked for again in this process.
void refuseAddon(const char* text);

// Frees the engine library if one was loaded and forgets maincall, so that nothing can call into an
// unmapped library; engineBound keeps its value.
void releaseEngine();

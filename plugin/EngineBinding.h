// Loading and binding of the engine library.
#pragma once

// Loads "modules\veilcore.dll", resolves "initint", fills the host service table and hands it to
// initint, then resolves "maincall" and sets engineBound. Each failure shows exactly one message box
// (caption "Error!", OK only, no owner) and leaves the plug-in unbound; a library that loaded stays
// loaded until releaseEngine. Call once.
void bindEngine();

// Frees the engine library if one was loaded and forgets maincall, so that nothing can call into an
// unmapped library; engineBound keeps its value.
void releaseEngine();

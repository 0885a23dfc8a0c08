// Registry key removal.
#pragma once

// Deletes the key named by a key entry text: a root key name, a blank and a key path.
// Silent; always 0.
int DeleteRegistryKey(const char* text);

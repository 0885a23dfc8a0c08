// File removal, with a component's self-unregistration first.
#pragma once

// Deletes one file; a ".dll" or ".ocx" component is made to unregister itself first.
// Non-zero when the file was deleted.
int DeleteFileAndUnregister(const char* path);

// Loads a component, calls its DllUnregisterServer and releases it. 1 when that returned 0.
int RegisterActiveX(const char* path);

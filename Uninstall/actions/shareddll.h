// Shared DLL reference counts.
#pragma once

// Releases one use of a shared file; removes the file when its count runs out.
// 0 when the SharedDLLs key cannot be opened, else 1.
int ReleaseSharedDll(const char* path);

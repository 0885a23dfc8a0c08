// The record checker's core: reads an uninstall record with the uninstaller's own reader and
// classifier, lists its entries in the order the uninstall carries them out, and flags every
// entry that will do nothing or probably not what its author meant. Nothing here calls Windows.
#pragma once
#include <string>
#include <vector>

// Exit codes of zelvo_check.
enum { CHECK_CLEAN = 0, CHECK_FLAGGED = 1, CHECK_UNREADABLE = 2 };

// Adds one text to `flags` for each thing that looks wrong with one entry line (or piece),
// given without its line feed.
void CheckEntry(const std::string& text, std::vector<std::string>* flags);

// Writes the report on the record at `path` into `report` and returns one of the CHECK_ codes.
int CheckRecord(const char* path, std::string* report);

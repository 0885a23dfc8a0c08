#include "check_text.h"

#include <cstdio>
#include <cstring>

#include "engine/record.h"

// What the uninstaller can take: the window's header reader, the run's pieces, the registry
// key path buffer and the Program Manager command buffer.
static const size_t WINDOW_HEADER_LENGTH = HEADER_BUFFER_SIZE - 1;
static const size_t PIECE_LENGTH = LINE_BUFFER_SIZE - 1;
static const size_t KEY_PATH_LIMIT = 259;
static const size_t GROUP_NAME_LIMIT = 112;  // "[DeleteGroup(%s)]" and its NUL in 128 bytes
static const size_t ITEM_NAME_LIMIT = 113;   // "[DeleteItem(%s)]" and its NUL in 128 bytes

static const char* const g_rootKeyNames[] = {
    "HKEY_CURRENT_USER", "HKEY_CLASSES_ROOT", "HKEY_LOCAL_MACHINE", "HKEY_USERS"};

// One line of the record, or one piece of a long line, as the run reads it.
struct Piece {
    int line;
    int index;       // 1 for a line's first piece
    bool cutByNul;   // a NUL byte ended the line's text here
    std::string text;  // without its line feed
};

// Control characters would garble the report: they are shown by name or number.
static std::string Printable(const std::string& text)
{
    std::string shown;
    for (unsigned char c : text) {
        if (c == '\r')
            shown += "<CR>";
        else if (c == '\t')
            shown += "<TAB>";
        else if (c < 0x20 || c == 0x7F) {
            char hex[8];
            snprintf(hex, sizeof hex, "<0x%02X>", c);
            shown += hex;
        } else
            shown += (char)c;
    }
    return shown;
}

static std::string Quoted(const std::string& text)
{
    return "\"" + Printable(text) + "\"";
}

static std::string Count(size_t count, const char* one, const char* many)
{
    return std::to_string(count) + " " + (count == 1 ? one : many);
}

// "X:\..." or "\\server\...": anything else depends on the uninstaller's current directory.
static bool IsAbsolutePath(const char* path)
{
    char drive = path[0] | 0x20;
    if (drive >= 'a' && drive <= 'z' && path[1] == ':' && path[2] == '\\')
        return true;
    if (path[0] == '\\' && path[1] == '\\' && path[2] != '\0' && path[2] != '\\')
        return strchr(path + 3, '\\') != NULL;
    return false;
}

static void CheckPath(const char* path, std::vector<std::string>* flags)
{
    if (!path[0])
        flags->push_back("the path is empty");
    else if (!IsAbsolutePath(path))
        flags->push_back("not an absolute path (X:\\... or \\\\server\\...)");
}

static void CheckFileEntry(const char* payload, std::vector<std::string>* flags)
{
    if (strlen(payload) < FILE_PATH_POSITION) {
        flags->push_back("the line ends before its path at position 9: does nothing");
        return;
    }
    if (payload[FILE_FLAG_FIRST] != '0' || payload[FILE_FLAG_SECOND] != '0')
        flags->push_back("flags " + Quoted(std::string(1, payload[FILE_FLAG_FIRST])) + " and " +
                         Quoted(std::string(1, payload[FILE_FLAG_SECOND])) +
                         " are not both \"0\": the file is left alone");
    CheckPath(payload + FILE_PATH_POSITION, flags);
}

// The intended form: one of the four root key names, one blank, a key path with a backslash.
static void CheckKeyEntry(const char* payload, std::vector<std::string>* flags)
{
    const char* root = payload + strspn(payload, " ");
    std::string name(root, strcspn(root, " "));
    bool known = false;
    for (const char* rootKeyName : g_rootKeyNames)
        known = known || name == rootKeyName;
    if (!known) {
        flags->push_back("unknown root key name " + Quoted(name) +
                         ": nothing is deleted (HKEY_CURRENT_USER, HKEY_CLASSES_ROOT, "
                         "HKEY_LOCAL_MACHINE or HKEY_USERS, then one blank)");
        return;
    }
    const char* path = root + name.size();
    if (*path)
        ++path;  // the one blank after the name
    size_t length = strlen(path);
    if (length == 0) {
        flags->push_back("no key path after the root key name: nothing is deleted");
        return;
    }
    if (path[0] == ' ')
        flags->push_back("the key path begins with a blank");
    if (length > KEY_PATH_LIMIT)
        flags->push_back("the key path has " + std::to_string(length) +
                         " characters, at most 259 fit: nothing is deleted");
    if (!strchr(path, '\\'))
        flags->push_back("the key path has no backslash: nothing is deleted");
}

static void CheckProgmanEntry(const char* payload, std::vector<std::string>* flags)
{
    const char* at = strchr(payload, '@');
    if (!at) {
        flags->push_back("no \"@\" between group and item: nothing is removed");
        return;
    }
    size_t group = at - payload;
    size_t item = strlen(at + 1);
    if (group == 0)
        flags->push_back("the group name is empty");
    else if (group > GROUP_NAME_LIMIT)
        flags->push_back("the group name has " + std::to_string(group) +
                         " characters, at most 112 fit a Program Manager command");
    if (item == 0)
        flags->push_back("the item name is empty");
    else if (item > ITEM_NAME_LIMIT)
        flags->push_back("the item name has " + std::to_string(item) +
                         " characters, at most 113 fit a Program Manager command");
}

// Kind letters are lower-case; an upper-case one is the likeliest slip.
static std::string UnknownKindFlag(char letter)
{
    std::string flag = "unknown kind letter " + Quoted(std::string(1, letter)) + ": does nothing";
    char lower = letter | 0x20;
    if (letter >= 'A' && letter <= 'Z' && strchr("ifkdpc", lower))
        flag += " (kind letters are lower-case)";
    return flag;
}

void CheckEntry(const std::string& text, std::vector<std::string>* flags)
{
    std::string line = text;
    char* payload = NULL;
    EntryKind kind = ClassifyEntry(&line[0], &payload);
    if (kind == ENTRY_OTHER) {
        flags->push_back(line.empty() ? "blank line: does nothing" : UnknownKindFlag(line[0]));
        return;
    }
    if (!payload) {
        flags->push_back("the line ends before its payload at position " +
                         std::to_string(EntryPayloadPosition(kind)) + ": does nothing");
        return;
    }
    for (const char* c = payload; *c; ++c)
        if ((unsigned char)*c < 0x20) {
            flags->push_back("the payload holds a control character (" +
                             Printable(std::string(1, *c)) + ")");
            break;
        }
    switch (kind) {
    case ENTRY_SHARED_DLL:
    case ENTRY_DIRECTORY:
        CheckPath(payload, flags);
        break;
    case ENTRY_FILE:
        CheckFileEntry(payload, flags);
        break;
    case ENTRY_REG_KEY:
        CheckKeyEntry(payload, flags);
        break;
    case ENTRY_PROGMAN:
        CheckProgmanEntry(payload, flags);
        break;
    case ENTRY_COMMAND:
        if (!payload[0])
            flags->push_back("the command is empty");
        break;
    case ENTRY_OTHER:
        break;
    }
}

static const char* KindName(EntryKind kind)
{
    switch (kind) {
    case ENTRY_SHARED_DLL: return "shared-dll";
    case ENTRY_FILE: return "file";
    case ENTRY_REG_KEY: return "key";
    case ENTRY_DIRECTORY: return "directory";
    case ENTRY_PROGMAN: return "progman";
    case ENTRY_COMMAND: return "command";
    case ENTRY_OTHER: break;
    }
    return "other";
}

// Pads a column, with at least one blank after it.
static std::string Column(const std::string& text, size_t width)
{
    return text + std::string(text.size() < width ? width - text.size() : 1, ' ');
}

// The report line of one piece: where it stands in the record, its kind, its payload (the whole
// text when it has none).
static std::string PlanLine(const Piece& piece, int pieces)
{
    std::string label = "line " + std::to_string(piece.line);
    if (pieces > 1)
        label += " (" + std::to_string(piece.index) + "/" + std::to_string(pieces) + ")";
    std::string line = piece.text;
    char* payload = NULL;
    EntryKind kind = ClassifyEntry(&line[0], &payload);
    std::string shown = payload ? std::string(payload) : line;
    std::string report = Column(label, 14) + KindName(kind);
    if (!shown.empty())
        report = Column(report, 26) + Printable(shown);
    return report + "\n";
}

// Reads every piece as the run does. A piece that fills the buffer without a line feed goes on
// in the next one; a shorter piece without one was cut by a NUL, unless it ends the file.
static std::vector<Piece> ReadPieces(RecordFile* record)
{
    std::vector<Piece> pieces;
    char buffer[LINE_BUFFER_SIZE];
    int line = 0;
    int index = 0;
    bool continues = false;
    bool lineFeed = true;
    while (ReadRecordLine(record, buffer, sizeof buffer)) {
        if (!pieces.empty() && !lineFeed && !continues)
            pieces.back().cutByNul = true;
        index = continues ? index + 1 : 1;
        line += continues ? 0 : 1;
        size_t length = strlen(buffer);
        lineFeed = length > 0 && buffer[length - 1] == '\n';
        if (lineFeed)
            buffer[--length] = '\0';
        continues = !lineFeed && length == PIECE_LENGTH;
        pieces.push_back(Piece{line, index, false, buffer});
    }
    return pieces;
}

// Bytes after a Ctrl-Z are never read; a Ctrl-Z as the last byte is an old habit and harmless.
static long HiddenBytes(RecordFile* record)
{
    long position = ftell(record->file);
    if (position < 0 || fseek(record->file, 0, SEEK_END) != 0)
        return 0;
    return ftell(record->file) - position;
}

int CheckRecord(const char* path, std::string* report)
{
    RecordFile record;
    if (!OpenRecord(&record, path)) {
        *report += "cannot open " + std::string(path) + "\n";
        return CHECK_UNREADABLE;
    }
    std::vector<Piece> pieces = ReadPieces(&record);
    long hidden = HiddenBytes(&record);
    CloseRecord(&record);

    size_t flagCount = 0;
    std::string product = pieces.empty() ? "" : pieces[0].text;
    *report += "Product: " + Printable(product) + "\n";
    if (product.empty())
        *report += "    note: the product name is empty\n";
    else if (product.size() > WINDOW_HEADER_LENGTH)
        *report += "    note: the window shows only the first 259 of its " +
                   std::to_string(product.size()) + " characters\n";
    if (hidden > 0) {
        *report += "! a Ctrl-Z ends the record: the " + Count((size_t)hidden, "byte", "bytes") +
                   " after it are never read\n";
        ++flagCount;
    }

    size_t entries = pieces.empty() ? 0 : pieces.size() - 1;
    *report += "Plan, last line first:\n";
    for (size_t i = pieces.size(); i-- > 1;) {
        const Piece& piece = pieces[i];
        int count = piece.index;
        for (size_t next = i + 1; next < pieces.size() && pieces[next].line == piece.line; ++next)
            count = pieces[next].index;
        std::vector<std::string> flags;
        if (count > 1)
            flags.push_back("line " + std::to_string(piece.line) +
                            " has 1,039 characters or more: it is taken in " +
                            std::to_string(count) + " pieces, each an entry of its own");
        if (piece.cutByNul)
            flags.push_back("a NUL byte ends the line here: the rest of it is never read");
        CheckEntry(piece.text, &flags);
        *report += PlanLine(piece, count);
        for (const std::string& flag : flags)
            *report += "    ! " + flag + "\n";
        flagCount += flags.size();
    }
    *report += Count(entries, "entry", "entries") + ", " +
               (flagCount ? Count(flagCount, "flag", "flags") : "no flags") + ".\n";
    return flagCount ? CHECK_FLAGGED : CHECK_CLEAN;
}

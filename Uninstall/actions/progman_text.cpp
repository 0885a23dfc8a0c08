#include "progman_text.h"

#include <cstdio>
#include <cstring>

static const char* CommandFormat(ProgmanCommand command)
{
    switch (command) {
    case PROGMAN_SHOW_GROUP:
        return "[ShowGroup(%s,1)]";
    case PROGMAN_DELETE_ITEM:
        return "[DeleteItem(%s)]";
    case PROGMAN_DELETE_GROUP:
        return "[DeleteGroup(%s)]";
    }
    return "%s";
}

size_t ProgmanCommandSize(ProgmanCommand command, const char* name)
{
    // The format's "%s" gives way to the name, and its NUL is counted in.
    return strlen(CommandFormat(command)) - 2 + strlen(name) + 1;
}

size_t ProgmanCommandBufferSize(ProgmanCommand first, const char* firstName, ProgmanCommand second,
                                const char* secondName)
{
    size_t size = PROGMAN_COMMAND_BUFFER_SIZE;
    size_t firstSize = ProgmanCommandSize(first, firstName);
    size_t secondSize = ProgmanCommandSize(second, secondName);
    if (firstSize > size)
        size = firstSize;
    if (secondSize > size)
        size = secondSize;
    return size;
}

size_t FormatProgmanCommand(char* buffer, size_t size, ProgmanCommand command, const char* name)
{
    if (size == 0)
        return 0;
    snprintf(buffer, size, CommandFormat(command), name);
    size_t length = strlen(buffer);
    // Program Manager takes the show-group command without its NUL, the deletions with it.
    return command == PROGMAN_SHOW_GROUP ? length : length + 1;
}

// Where the field after the one at `field` begins, or the text's end. A first field that
// opens with a double quote runs to its closing quote before a comma can end it.
static const char* NextField(const char* field, bool quoted)
{
    const char* p = field;
    if (quoted && *p == '"') {
        const char* closing = strchr(p + 1, '"');
        if (!closing)
            return p + strlen(p);
        p = closing + 1;
    }
    while (*p && *p != ',')
        ++p;
    return p;
}

static const char* SkipCommas(const char* p)
{
    while (*p == ',')
        ++p;
    return p;
}

static bool IsBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

int ProgmanReplyIsEmpty(const char* reply)
{
    const char* field = SkipCommas(reply);
    for (int index = 0; index < 2; ++index) {
        if (!*field)
            return 0;
        field = SkipCommas(NextField(field, index == 0));
    }
    if (!*field)
        return 0;  // fewer than three fields

    const char* p = field;
    while (IsBlank(*p))
        ++p;
    if (*p == '+' || *p == '-')
        ++p;
    if (*p < '0' || *p > '9')
        return 0;  // no number: an unreadable count never lets a group go
    while (*p == '0')
        ++p;
    return *p < '0' || *p > '9';
}

/* Reading the configuration and numbering its entries, apart from anything DOS. */
#include "menu.h"

#include <stdlib.h>
#include <string.h>

static char empty[1] = "";

static int lower(int c)
{
    return c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c;
}

int vl_equal_ignoring_case(const char* a, const char* b)
{
    while (*a && lower((unsigned char)*a) == lower((unsigned char)*b)) {
        ++a;
        ++b;
    }
    return *a == 0 && *b == 0;
}

static int starts_ignoring_case(const char* text, const char* prefix)
{
    while (*prefix && lower((unsigned char)*text) == lower((unsigned char)*prefix)) {
        ++text;
        ++prefix;
    }
    return *prefix == 0;
}

/* A copy of at most max bytes of text; the shared empty text when there is nothing to copy or no
   memory left (the menu then shows less, but shows). */
static char* copy(const char* text, unsigned max)
{
    unsigned n = strlen(text);
    char* out;
    if (n > max)
        n = max;
    if (n == 0 || (out = (char*)malloc(n + 1)) == 0)
        return empty;
    memcpy(out, text, n);
    out[n] = 0;
    return out;
}

static void set(char** field, const char* text, unsigned max)
{
    if (*field != empty)
        free(*field);
    *field = copy(text, max);
}

/* The file's CR CR (a line break in a description) as '\n'; any other CR is dropped. */
static void description_breaks(char* text)
{
    char* out = text;
    for (; *text; ++text) {
        if (text[0] == '\r' && text[1] == '\r') {
            *out++ = '\n';
            ++text;
        } else if (*text != '\r') {
            *out++ = *text;
        }
    }
    *out = 0;
}

/* The next line without its line end, cut to VL_LINE_MAX bytes; 0 at the end of the file. */
static char* next_line(FILE* file, char* line, unsigned size)
{
    unsigned n;
    int c;
    if (!fgets(line, (int)size, file))
        return 0;
    n = strlen(line);
    if (n > 0 && line[n - 1] == '\n') {
        line[--n] = 0;
    } else {
        /* A longer line: the rest of it is passed over, not taken for a line of its own. */
        while ((c = getc(file)) != EOF && c != '\n')
            ;
    }
    if (n > 0 && line[n - 1] == '\r')
        line[--n] = 0;
    if (n > VL_LINE_MAX)
        line[VL_LINE_MAX] = 0;
    return line;
}

int vl_read_menu(FILE* file, struct vl_menu* menu)
{
    /* Room for the longest line, its CR LF and the end of the text. */
    static char line[VL_LINE_MAX + 4];
    struct vl_section* current = 0;
    char* value;
    char* close;
    int numbered = 0;
    int i;

    menu->count = 0;
    menu->general = -1;
    while (next_line(file, line, sizeof line)) {
        if (line[0] == '[') {
            if (menu->count == VL_MAX_SECTIONS)
                break;
            current = &menu->sections[menu->count++];
            /* A header without its "]" names the section with the rest of the line. */
            close = strchr(line, ']');
            if (close)
                *close = 0;
            current->name = copy(line + 1, VL_FIELD_MAX);
            current->parent = current->title = current->description = current->path = empty;
            current->number = 0;
            continue;
        }
        value = strchr(line, '=');
        if (!current || !value)
            continue;
        ++value;
        if (starts_ignoring_case(line, "PAREN") || starts_ignoring_case(line, "BIOSSTR="))
            set(&current->parent, value, VL_FIELD_MAX);
        else if (starts_ignoring_case(line, "TITLE="))
            set(&current->title, value, VL_FIELD_MAX);
        else if (starts_ignoring_case(line, "PATH="))
            set(&current->path, value, VL_LINE_MAX);
        else if (starts_ignoring_case(line, "DESCRIPTION=")) {
            description_breaks(value);
            set(&current->description, value, VL_LINE_MAX);
        }
    }
    for (i = 0; i < menu->count; ++i) {
        struct vl_section* s = &menu->sections[i];
        if (vl_is_numbered(s))
            s->number = ++numbered;
        else if (menu->general < 0 && strcmp(s->name, "GENERAL") == 0 && strcmp(s->parent, "GENERAL") == 0)
            menu->general = i;
    }
    return menu->count;
}

void vl_free_menu(struct vl_menu* menu)
{
    int i;
    for (i = 0; i < menu->count; ++i) {
        struct vl_section* s = &menu->sections[i];
        set(&s->name, "", 0);
        set(&s->parent, "", 0);
        set(&s->title, "", 0);
        set(&s->description, "", 0);
        set(&s->path, "", 0);
    }
    menu->count = 0;
}

int vl_is_numbered(const struct vl_section* section)
{
    if (strcmp(section->name, "GENERAL") == 0 && strcmp(section->parent, "GENERAL") == 0)
        return 0;
    return section->name[0] != 0 && strcmp(section->name, "MISC") != 0;
}

int vl_list(const struct vl_menu* menu, const char* parent, int* out, int max)
{
    int i;
    int n = 0;
    for (i = 0; i < menu->count; ++i) {
        const struct vl_section* s = &menu->sections[i];
        /* An entry past the largest exit code could never be started. */
        if (s->number == 0 || s->number > VL_MAX_CODE || !vl_equal_ignoring_case(s->parent, parent))
            continue;
        if (out && n < max)
            out[n] = i;
        ++n;
    }
    return n;
}

const char* vl_ini_argument(int argc, char** argv)
{
    int i;
    for (i = 1; i < argc; ++i) {
        if (starts_ignoring_case(argv[i], "/INI="))
            return argv[i] + 5;
    }
    return 0;
}

/* The stand-in launcher: shows the configured menu in 640 by 480 with 16 colours and ends with
   the number of the entry picked, as the batch file numbers it (0: none picked). */
#include "dosenv.h"
#include "menu.h"
#include "pcx.h"

#include <stdio.h>
#include <string.h>

#define KEY_UP 1
#define KEY_DOWN 2
#define KEY_ENTER 3
#define KEY_ESCAPE 4

/* Screen colours. */
#define BLACK 0
#define BLUE 1
#define CYAN 3
#define GREY 7
#define YELLOW 14
#define WHITE 15

/* Text rows and columns of the 80 by 30 screen. */
#define LIST_TOP 12
#define LIST_ROWS 15
#define LIST_LEFT 2
#define LIST_WIDTH 36
#define NOTE_LEFT 41
#define NOTE_WIDTH 37
#define KEYS_ROW 28

static struct vl_menu menu;
static int list[VL_MAX_SECTIONS];
static FILE* keys; /* the key file, when the keys come from one */

/* BIOS calls: arguments at 4[bp], 6[bp], ...; bp, si and di kept, as some BIOSes do not. */

/* clang-format off */
static void set_mode(mode) int mode;
{
#asm
    push bp
    mov bp,sp
    push si
    push di
    mov ax,4[bp]
    xor ah,ah
    int 0x10
    pop di
    pop si
    pop bp
#endasm
}
/* clang-format on */

/* clang-format off */
static int bios_key()
{
#asm
    push si
    push di
    mov ah,#0
    int 0x16
    pop di
    pop si
#endasm
}
/* clang-format on */

/* clang-format off */
static void plot(x, y, colour) int x; int y; int colour;
{
#asm
    push bp
    mov bp,sp
    push si
    push di
    mov cx,4[bp]
    mov dx,6[bp]
    mov ax,8[bp]
    mov ah,#0x0C
    xor bx,bx
    int 0x10
    pop di
    pop si
    pop bp
#endasm
}
/* clang-format on */

/* Fills the text cells from (top, left) to (bottom, right) with a colour. */
/* clang-format off */
static void fill(top, left, bottom, right, colour) int top; int left; int bottom; int right; int colour;
{
#asm
    push bp
    mov bp,sp
    push si
    push di
    mov ch,4[bp]
    mov cl,6[bp]
    mov dh,8[bp]
    mov dl,10[bp]
    mov bh,12[bp]
    mov ax,#0x0600
    int 0x10
    pop di
    pop si
    pop bp
#endasm
}
/* clang-format on */

/* One character at a text cell, its colour XORed into what is there. */
/* clang-format off */
static void put_char(row, col, ch, colour) int row; int col; int ch; int colour;
{
#asm
    push bp
    mov bp,sp
    push si
    push di
    mov dh,4[bp]
    mov dl,6[bp]
    xor bx,bx
    mov ah,#2
    int 0x10
    mov al,8[bp]
    mov bl,10[bp]
    or bl,#0x80
    xor bh,bh
    mov cx,#1
    mov ah,#9
    int 0x10
    pop di
    pop si
    pop bp
#endasm
}
/* clang-format on */

/* Up to width characters of text at a row, in fg over cells already filled with bg. */
static void text(row, col, s, width, fg, bg) int row;
int col;
const char* s;
int width;
int fg;
int bg;
{
    for (; *s && width > 0; ++s, ++col, --width)
        put_char(row, col, (unsigned char)*s, fg ^ bg);
}

/* A description in rows of width, broken at its line breaks and between words; as many rows as
   fit. */
static void wrapped(s, top, left, width, rows, fg) const char* s;
int top;
int left;
int width;
int rows;
int fg;
{
    int n, cut;
    char row[81];
    while (*s && rows > 0) {
        for (n = 0; s[n] && s[n] != '\n' && n < width; ++n)
            ;
        cut = n;
        if (s[n] && s[n] != '\n') {
            while (cut > 0 && s[cut] != ' ')
                --cut;
            if (cut == 0)
                cut = n;
        }
        memcpy(row, s, cut);
        row[cut] = 0;
        text(top++, left, row, width, fg, BLUE);
        --rows;
        s += cut;
        if (*s == '\n' || *s == ' ')
            ++s;
    }
}

/* The logo at the top left; 0 when there is no readable one. */
static int draw_logo(path) const char* path;
{
    static struct vl_pcx pcx;
    unsigned char colours[VL_LOGO_MAX];
    FILE* file;
    int x, y;
    if (!path[0] || (file = fopen(path, "rb")) == 0)
        return 0;
    if (!vl_pcx_open(&pcx, file)) {
        fclose(file);
        return 0;
    }
    for (y = 0; y < pcx.height && vl_pcx_row(&pcx, colours); ++y) {
        for (x = 0; x < pcx.width; ++x)
            plot(16 + x, 16 + y, colours[x]);
    }
    fclose(file);
    return 1;
}

static int next_key()
{
    char word[16];
    int c, n, key;
    if (!keys) {
        for (;;) {
            key = bios_key();
            switch ((key >> 8) & 0xFF) {
            case 0x48:
                return KEY_UP;
            case 0x50:
                return KEY_DOWN;
            case 0x1C:
                return KEY_ENTER;
            case 0x01:
                return KEY_ESCAPE;
            }
        }
    }
    /* Words of the key file: Up, Down, Enter, Esc; once it runs out, Escape, so the run ends. */
    for (;;) {
        while ((c = getc(keys)) != EOF && (c == ' ' || c == '\t' || c == '\r' || c == '\n'))
            ;
        if (c == EOF)
            return KEY_ESCAPE;
        for (n = 0; c != EOF && c != ' ' && c != '\t' && c != '\r' && c != '\n'; c = getc(keys))
            if (n < 15)
                word[n++] = (char)c;
        word[n] = 0;
        if (vl_equal_ignoring_case(word, "Up"))
            return KEY_UP;
        if (vl_equal_ignoring_case(word, "Down"))
            return KEY_DOWN;
        if (vl_equal_ignoring_case(word, "Enter"))
            return KEY_ENTER;
        if (vl_equal_ignoring_case(word, "Esc"))
            return KEY_ESCAPE;
    }
}

static const char* label(s) const struct vl_section* s;
{
    return s->title[0] ? s->title : s->name;
}

/* The list of entries and the chosen one's description. */
static void draw_list(count, chosen, first) int count;
int chosen;
int first;
{
    int row, i, bg;
    const struct vl_section* s;
    fill(LIST_TOP, LIST_LEFT - 1, LIST_TOP + LIST_ROWS - 1, LIST_LEFT + LIST_WIDTH, BLUE);
    fill(LIST_TOP, NOTE_LEFT, LIST_TOP + LIST_ROWS - 1, NOTE_LEFT + NOTE_WIDTH - 1, BLUE);
    for (row = 0; row < LIST_ROWS && first + row < count; ++row) {
        i = first + row;
        s = &menu.sections[list[i]];
        bg = i == chosen ? CYAN : BLUE;
        if (i == chosen)
            fill(LIST_TOP + row, LIST_LEFT - 1, LIST_TOP + row, LIST_LEFT + LIST_WIDTH, CYAN);
        text(LIST_TOP + row, LIST_LEFT, label(s), LIST_WIDTH - 2, i == chosen ? BLACK : WHITE, bg);
        if (vl_list(&menu, s->name, 0, 0) > 0)
            put_char(LIST_TOP + row, LIST_LEFT + LIST_WIDTH - 1, 0x10, (i == chosen ? BLACK : YELLOW) ^ bg);
    }
    if (count > 0)
        wrapped(menu.sections[list[chosen]].description, LIST_TOP, NOTE_LEFT, NOTE_WIDTH, LIST_ROWS, GREY);
    else
        text(LIST_TOP, LIST_LEFT, "(no entries)", LIST_WIDTH, GREY, BLUE);
}

static void draw_heading(heading, top) const char* heading;
int top;
{
    fill(10, LIST_LEFT, 10, 77, BLUE);
    text(10, LIST_LEFT, heading, 76, YELLOW, BLUE);
    fill(KEYS_ROW, 0, KEYS_ROW, 79, BLUE);
    text(KEYS_ROW, LIST_LEFT,
         top ? "Up/Down: choose   Enter: start or open   Esc: quit"
             : "Up/Down: choose   Enter: start   Esc: back",
         76, CYAN, BLUE);
}

/* Runs the menu; the number of the entry picked, or 0. */
static int run_menu()
{
    const struct vl_section* general = menu.general >= 0 ? &menu.sections[menu.general] : 0;
    int left = LIST_LEFT, i;
    int count, chosen = 0, first = 0, top_chosen = 0, open = -1;

    set_mode(0x12);
    fill(0, 0, 29, 79, BLUE);
    if (general) {
        if (draw_logo(general->path))
            left = 19;
        text(1, left, general->title, 78 - left, WHITE, BLUE);
        wrapped(general->description, 3, left, 78 - left, 6, GREY);
    }
    for (i = LIST_LEFT; i < 78; ++i)
        put_char(9, i, 0xC4, CYAN ^ BLUE);

    count = vl_list(&menu, VL_PRODUCT_HEADING, list, VL_MAX_SECTIONS);
    draw_heading(VL_PRODUCT_HEADING, 1);
    for (;;) {
        if (chosen < first)
            first = chosen;
        if (chosen >= first + LIST_ROWS)
            first = chosen - LIST_ROWS + 1;
        draw_list(count, chosen, first);
        switch (next_key()) {
        case KEY_UP:
            if (chosen > 0)
                --chosen;
            break;
        case KEY_DOWN:
            if (chosen + 1 < count)
                ++chosen;
            break;
        case KEY_ENTER:
            if (count == 0)
                break;
            i = list[chosen];
            if (open < 0 && vl_list(&menu, menu.sections[i].name, 0, 0) > 0) {
                open = i;
                top_chosen = chosen;
                count = vl_list(&menu, menu.sections[i].name, list, VL_MAX_SECTIONS);
                chosen = first = 0;
                draw_heading(label(&menu.sections[i]), 0);
                break;
            }
            return menu.sections[i].number;
        case KEY_ESCAPE:
            if (open < 0)
                return 0;
            open = -1;
            count = vl_list(&menu, VL_PRODUCT_HEADING, list, VL_MAX_SECTIONS);
            chosen = top_chosen;
            first = 0;
            draw_heading(VL_PRODUCT_HEADING, 1);
            break;
        }
    }
}

int main(argc, argv)
int argc;
char** argv;
{
    const char* name = vl_ini_argument(argc, argv);
    const char* key_file = dos_getenv("VLKEYS");
    FILE* file;
    int picked;

    if (!name || (file = fopen(name, "rb")) == 0) {
        printf("Unable to open the configuration file %s.\n", name ? name : "(none given: /INI=)");
        return 0;
    }
    vl_read_menu(file, &menu);
    fclose(file);
    if (key_file)
        keys = fopen(key_file, "rb");
    picked = run_menu();
    set_mode(3);
    return picked;
}

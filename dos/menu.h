/* The stand-in launcher's menu: the configuration read as the launcher reads it, and the entries
   numbered as the batch file numbers them. Plain C, built for DOS with bcc and for the host tests. */
#ifndef VL_DOS_MENU_H
#define VL_DOS_MENU_H

#include <stdio.h>

#ifdef __cplusplus
extern "C" {
#endif

#define VL_FIELD_MAX 63     /* the longest name, parent and title the editor keeps */
#define VL_LINE_MAX 1022    /* the longest line the launcher takes, without its line end */
#define VL_MAX_SECTIONS 300 /* more than any menu fits on one floppy's launcher */
#define VL_MAX_CODE 255     /* an exit code carries no larger number */

/* The product heading: entries whose parent it is make the top of the menu. */
#define VL_PRODUCT_HEADING "Velmora Products"

struct vl_section {
    char* name;
    char* parent; /* the BIOSSTR value for the MISC section */
    char* title;
    char* description; /* line breaks as '\n' */
    char* path;
    int number; /* the batch file's number for it; 0: none */
};

struct vl_menu {
    struct vl_section sections[VL_MAX_SECTIONS];
    int count;
    int general; /* index of the general section, or -1 */
};

/* Reads a configuration; what cannot be taken (a line of no known kind, a key before any section)
   is passed over, so a damaged file still shows what it can. Returns the number of sections. */
int vl_read_menu(FILE* file, struct vl_menu* menu);
void vl_free_menu(struct vl_menu* menu);

/* Whether the batch file gives the section a label: all but the general section, nameless
   sections and MISC. */
int vl_is_numbered(const struct vl_section* section);

/* The numbered sections whose parent is parent (ignoring letter case), in file order: their
   indexes go to out (when given, at most max). Returns how many there are. */
int vl_list(const struct vl_menu* menu, const char* parent, int* out, int max);

/* The configuration named by "/INI=" on the command line, or 0. */
const char* vl_ini_argument(int argc, char** argv);

int vl_equal_ignoring_case(const char* a, const char* b);

#ifdef __cplusplus
}
#endif

#endif

/* A PCX version 2 logo of at most 120 by 120, decoded a row at a time into colours of the screen's
   16. Plain C, apart from anything DOS. */
#ifndef VL_DOS_PCX_H
#define VL_DOS_PCX_H

#include <stdio.h>

#define VL_LOGO_MAX 120

struct vl_pcx {
    FILE* file;
    int width, height;
    int bits, planes, bytes_per_line;
    int run, run_value;              /* a run that goes on into the next row */
    unsigned char colour_of[16];     /* the header's palette entry -> the nearest screen colour */
    unsigned char line[4 * 240 + 4]; /* one row's bytes, all planes */
};

/* Reads and checks the header; 0 when the file is no logo the launcher shows. */
int vl_pcx_open(struct vl_pcx* pcx, FILE* file);
/* Decodes the next row into width screen colours; 0 at a damaged or cut-off file. */
int vl_pcx_row(struct vl_pcx* pcx, unsigned char* colours);

#endif

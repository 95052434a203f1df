/* Decoding a PCX logo: header checks, run-length decoding, palette to the 16 screen colours. */
#include "pcx.h"

/* The 16 colours of the 640 by 480 mode as it starts, in 6 bits a component. */
static const unsigned char screen[16][3] = {{0, 0, 0},    {0, 0, 42},   {0, 42, 0},   {0, 42, 42},
                                            {42, 0, 0},   {42, 0, 42},  {42, 21, 0},  {42, 42, 42},
                                            {21, 21, 21}, {21, 21, 63}, {21, 63, 21}, {21, 63, 63},
                                            {63, 21, 21}, {63, 21, 63}, {63, 63, 21}, {63, 63, 63}};

static int word_at(const unsigned char* p)
{
    return (int)(short)(p[0] | (p[1] << 8));
}

static int nearest(const unsigned char* rgb)
{
    int best = 0;
    int i, k, d;
    unsigned distance, least = 65535U;
    for (i = 0; i < 16; ++i) {
        distance = 0;
        for (k = 0; k < 3; ++k) {
            d = (rgb[k] >> 2) - screen[i][k];
            distance += (unsigned)(d * d);
        }
        if (distance < least) {
            least = distance;
            best = i;
        }
    }
    return best;
}

int vl_pcx_open(struct vl_pcx* pcx, FILE* file)
{
    unsigned char header[128];
    int i;
    if (fread(header, 1, 128, file) != 128 || header[0] != 10 || header[1] != 2 || header[2] != 1)
        return 0;
    pcx->file = file;
    pcx->width = word_at(header + 8) - word_at(header + 4) + 1;
    pcx->height = word_at(header + 10) - word_at(header + 6) + 1;
    pcx->bits = header[3];
    pcx->planes = header[65];
    pcx->bytes_per_line = word_at(header + 66);
    pcx->run = 0;
    if (word_at(header + 8) > VL_LOGO_MAX || word_at(header + 10) > VL_LOGO_MAX || pcx->width < 1 ||
        pcx->width > VL_LOGO_MAX || pcx->height < 1 || pcx->height > VL_LOGO_MAX)
        return 0;
    if ((pcx->bits != 1 && pcx->bits != 2 && pcx->bits != 4 && pcx->bits != 8) || pcx->planes < 1 ||
        pcx->planes > 4 || pcx->bits * pcx->planes > 8 ||
        pcx->bytes_per_line < (pcx->width * pcx->bits + 7) / 8 ||
        pcx->bytes_per_line * pcx->planes > (int)sizeof pcx->line)
        return 0;
    for (i = 0; i < 16; ++i)
        pcx->colour_of[i] = (unsigned char)nearest(header + 16 + 3 * i);
    return 1;
}

int vl_pcx_row(struct vl_pcx* pcx, unsigned char* colours)
{
    int total = pcx->bytes_per_line * pcx->planes;
    int n = 0;
    int c, x, k, bit, index;
    while (n < total) {
        if (pcx->run == 0) {
            if ((c = getc(pcx->file)) == EOF)
                return 0;
            if ((c & 0xC0) == 0xC0) {
                pcx->run = c & 0x3F;
                if ((c = getc(pcx->file)) == EOF)
                    return 0;
            } else {
                pcx->run = 1;
            }
            pcx->run_value = c;
        }
        for (; pcx->run > 0 && n < total; --pcx->run)
            pcx->line[n++] = (unsigned char)pcx->run_value;
    }
    for (x = 0; x < pcx->width; ++x) {
        index = 0;
        bit = x * pcx->bits;
        for (k = 0; k < pcx->planes; ++k) {
            c = pcx->line[k * pcx->bytes_per_line + bit / 8];
            index |= ((c >> (8 - pcx->bits - bit % 8)) & ((1 << pcx->bits) - 1)) << (k * pcx->bits);
        }
        colours[x] = pcx->colour_of[index & 15];
    }
    return 1;
}

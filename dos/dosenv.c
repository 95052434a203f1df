/* DOS environment variables, for programs built with bcc. */
#include "dosenv.h"

#include <string.h>

/* The byte at seg:off, outside the program's own segment. */
/* clang-format off */
static int far_byte(seg, off) unsigned seg; unsigned off;
{
#asm
    push bp
    mov bp,sp
    push es
    mov es,4[bp]
    mov bx,6[bp]
    seg es
    mov al,[bx]
    xor ah,ah
    pop es
    pop bp
#endasm
}
/* clang-format on */

/* Looked up in the environment block whose segment the program segment prefix holds at 0x2C. */
char* dos_getenv(name) const char* name;
{
    extern unsigned __psp;
    static char value[128];
    unsigned seg = far_byte(__psp, 0x2C) | (far_byte(__psp, 0x2D) << 8);
    unsigned off = 0, n = strlen(name), i;
    while (far_byte(seg, off) && off < 32768U) {
        for (i = 0; i < n && far_byte(seg, off + i) == (unsigned char)name[i]; ++i)
            ;
        if (i == n && far_byte(seg, off + n) == '=') {
            off += n + 1;
            for (i = 0; i + 1 < sizeof value && (value[i] = (char)far_byte(seg, off + i)) != 0; ++i)
                ;
            value[i] = 0;
            return value;
        }
        while (far_byte(seg, off))
            ++off;
        ++off;
    }
    return 0;
}

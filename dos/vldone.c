/* The last step of Preview: says that it ended and waits for a key, so that what the entry printed
   stays readable. With a key file (VLKEYS) there is nobody at the keyboard, so it does not wait. */
#include "dosenv.h"

#include <stdio.h>

/* clang-format off */
static void wait_key()
{
#asm
    mov ah,#0
    int 0x16
#endasm
}
/* clang-format on */

int main()
{
    printf("\r\nPreview ended. Press any key to close this window.");
    fflush(stdout);
    if (!dos_getenv("VLKEYS"))
        wait_key();
    return 0;
}

/* DOS environment variables, for programs built with bcc. */
#ifndef VL_DOS_ENV_H
#define VL_DOS_ENV_H

/* The value of the variable name, or 0; the C library of bcc has no getenv for DOS. */
char* dos_getenv();

#endif

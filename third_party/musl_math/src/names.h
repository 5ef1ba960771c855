/* Included before every file of this folder: its functions take names of their own, so that
   they sit beside the platform's C library (glibc on the desktop, Emscripten's libc in the
   browser) instead of replacing it. */
#ifndef KELMAR_MUSL_NAMES_H
#define KELMAR_MUSL_NAMES_H

#include <math.h>  /* declared under the platform's names before the renaming below */

#define hidden __attribute__((__visibility__("hidden")))

#define sin kelmar_musl_sin
#define cos kelmar_musl_cos
#define tan kelmar_musl_tan
#define asin kelmar_musl_asin
#define atan kelmar_musl_atan
#define atan2 kelmar_musl_atan2
#define __sin kelmar_musl_kernel_sin
#define __cos kelmar_musl_kernel_cos
#define __tan kelmar_musl_kernel_tan
#define __rem_pio2 kelmar_musl_rem_pio2
#define __rem_pio2_large kelmar_musl_rem_pio2_large
/* declared beside them, never defined here; glibc has functions of these names */
#define __sinl kelmar_musl_kernel_sinl
#define __cosl kelmar_musl_kernel_cosl
#define __tanl kelmar_musl_kernel_tanl

#include "musl_math.h"

#endif

/* musl's double-precision trigonometry under names of its own: the same code, compiled with the
   same floating-point rules, gives the same bits on every platform. */
#ifndef KELMAR_MUSL_MATH_H
#define KELMAR_MUSL_MATH_H

#ifdef __cplusplus
extern "C" {
#endif

double kelmar_musl_sin(double x);
double kelmar_musl_cos(double x);
double kelmar_musl_tan(double x);
double kelmar_musl_asin(double x);
double kelmar_musl_atan(double x);
double kelmar_musl_atan2(double y, double x);

#ifdef __cplusplus
}
#endif

#endif

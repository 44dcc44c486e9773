#pragma once

// Helpers for the slot tables: a row gives its parameter types as a
// parenthesised list and their number, and these spell the parameters and
// arguments out as a1, a2, ... so one generic body can serve every row.

#define BRIMLOW_CAT_(a, b) a##b
#define BRIMLOW_CAT(a, b) BRIMLOW_CAT_(a, b)

#define BRIMLOW_PARAMS_0()
#define BRIMLOW_PARAMS_1(T1) T1 a1
#define BRIMLOW_PARAMS_2(T1, T2) T1 a1, T2 a2
#define BRIMLOW_PARAMS_3(T1, T2, T3) T1 a1, T2 a2, T3 a3
#define BRIMLOW_PARAMS_4(T1, T2, T3, T4) T1 a1, T2 a2, T3 a3, T4 a4
#define BRIMLOW_PARAMS_5(T1, T2, T3, T4, T5) T1 a1, T2 a2, T3 a3, T4 a4, T5 a5
#define BRIMLOW_PARAMS_6(T1, T2, T3, T4, T5, T6) T1 a1, T2 a2, T3 a3, T4 a4, T5 a5, T6 a6
#define BRIMLOW_PARAMS_7(T1, T2, T3, T4, T5, T6, T7) T1 a1, T2 a2, T3 a3, T4 a4, T5 a5, T6 a6, T7 a7
// "T1 a1, T2 a2, ..." for a row's arity n and types (T1, T2, ...).
#define BRIMLOW_PARAMS(n, types) BRIMLOW_CAT(BRIMLOW_PARAMS_, n) types

// The same without the first parameter (the type id a forwarded call
// consumes).
#define BRIMLOW_TAIL_PARAMS_1(T1)
#define BRIMLOW_TAIL_PARAMS_2(T1, T2) T2 a2
#define BRIMLOW_TAIL_PARAMS_3(T1, T2, T3) T2 a2, T3 a3
#define BRIMLOW_TAIL_PARAMS_4(T1, T2, T3, T4) T2 a2, T3 a3, T4 a4
#define BRIMLOW_TAIL_PARAMS_5(T1, T2, T3, T4, T5) T2 a2, T3 a3, T4 a4, T5 a5
#define BRIMLOW_TAIL_PARAMS_6(T1, T2, T3, T4, T5, T6) T2 a2, T3 a3, T4 a4, T5 a5, T6 a6
#define BRIMLOW_TAIL_PARAMS_7(T1, T2, T3, T4, T5, T6, T7) T2 a2, T3 a3, T4 a4, T5 a5, T6 a6, T7 a7
#define BRIMLOW_TAIL_PARAMS(n, types) BRIMLOW_CAT(BRIMLOW_TAIL_PARAMS_, n) types

#define BRIMLOW_ARGS_0
#define BRIMLOW_ARGS_1 a1
#define BRIMLOW_ARGS_2 a1, a2
#define BRIMLOW_ARGS_3 a1, a2, a3
#define BRIMLOW_ARGS_4 a1, a2, a3, a4
#define BRIMLOW_ARGS_5 a1, a2, a3, a4, a5
#define BRIMLOW_ARGS_6 a1, a2, a3, a4, a5, a6
#define BRIMLOW_ARGS_7 a1, a2, a3, a4, a5, a6, a7
#define BRIMLOW_ARGS(n) BRIMLOW_CAT(BRIMLOW_ARGS_, n)

#define BRIMLOW_TAIL_ARGS_1
#define BRIMLOW_TAIL_ARGS_2 a2
#define BRIMLOW_TAIL_ARGS_3 a2, a3
#define BRIMLOW_TAIL_ARGS_4 a2, a3, a4
#define BRIMLOW_TAIL_ARGS_5 a2, a3, a4, a5
#define BRIMLOW_TAIL_ARGS_6 a2, a3, a4, a5, a6
#define BRIMLOW_TAIL_ARGS_7 a2, a3, a4, a5, a6, a7
#define BRIMLOW_TAIL_ARGS(n) BRIMLOW_CAT(BRIMLOW_TAIL_ARGS_, n)

// ", a1, a2, ..." (nothing for no arguments).
#define BRIMLOW_COMMA_ARGS_0
#define BRIMLOW_COMMA_ARGS_1 , a1
#define BRIMLOW_COMMA_ARGS_2 , a1, a2
#define BRIMLOW_COMMA_ARGS_3 , a1, a2, a3
#define BRIMLOW_COMMA_ARGS_4 , a1, a2, a3, a4
#define BRIMLOW_COMMA_ARGS_5 , a1, a2, a3, a4, a5
#define BRIMLOW_COMMA_ARGS_6 , a1, a2, a3, a4, a5, a6
#define BRIMLOW_COMMA_ARGS_7 , a1, a2, a3, a4, a5, a6, a7
#define BRIMLOW_COMMA_ARGS(n) BRIMLOW_CAT(BRIMLOW_COMMA_ARGS_, n)

// The standard library reports a failed check of its own (a string or vector grown past its
// limit, an index out of range) by calling one of these functions. The library's versions throw
// its logic_error family, whose reference-counted strings and helpers make up about a quarter of
// the program; these throw what the program's top-level handler already reports instead.
#include <bits/functexcept.h>

#include <new>

#include "RunTimeError.h"

namespace {

[[noreturn]] void ThrowInternalError() {
  throw rt::RunTimeError(rt::kErrInvalidProcedureCall, L"An internal check of the program failed",
                         L"");
}

}  // namespace

namespace std {

void __throw_bad_alloc() { throw bad_alloc(); }

void __throw_bad_array_new_length() { throw bad_array_new_length(); }

// Growing a string or a vector past what it can hold is running out of memory.
void __throw_length_error(const char*) { throw bad_alloc(); }

void __throw_logic_error(const char*) { ThrowInternalError(); }

void __throw_out_of_range_fmt(const char*, ...) { ThrowInternalError(); }

}  // namespace std

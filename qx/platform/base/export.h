// Symbol visibility for the shared library. The library is built with hidden
// visibility, so only what carries QX_API is part of its ABI.
#pragma once

#if defined(_WIN32)
#  if defined(QXBASE_BUILDING)
#    define QX_API __declspec(dllexport)
#  else
#    define QX_API __declspec(dllimport)
#  endif
#else
#  define QX_API __attribute__((visibility("default")))
#endif

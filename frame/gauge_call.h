#pragma once
// The one calling convention of every routine that crosses a module boundary:
// gauge callbacks, mouse routines, needle callbacks, element-list routines,
// module init, host services and the sound library's operations. The simulator
// expects stdcall (callee pops) in the 32-bit build; natively there is only one
// convention.
#if defined(_WIN32) && defined(__i386__)
#define GAUGE_CALL __attribute__((stdcall))
#else
#define GAUGE_CALL
#endif

// Records the host reads are laid out for 32-bit pointers with 4-byte packing.
// Only the 32-bit build is byte-exact; natively the same records keep their
// natural alignment so that every member access stays aligned.
#if defined(__SIZEOF_POINTER__) && __SIZEOF_POINTER__ == 4
#define GAUGE_ABI_32 1
#else
#define GAUGE_ABI_32 0
#endif

// The two records a module exports: the .def file names them in the Windows
// build; natively they must stay visible past -fvisibility=hidden.
#if defined(_WIN32)
#define GAUGE_EXPORT
#else
#define GAUGE_EXPORT __attribute__((visibility("default")))
#endif

// Module data shared between a module's own sources. Natively, declarations
// marked so are addressed directly rather than through the module's address
// table; the Windows build addresses its data directly anyway.
#if defined(_WIN32)
#define GAUGE_LOCAL
#else
#define GAUGE_LOCAL __attribute__((visibility("hidden")))
#endif

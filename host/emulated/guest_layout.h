#pragma once
// Where the guest machine keeps what it provides, below the modules' own
// images (which the linker places from 0x10000000 up). Page 0 and the first
// 64 KiB stay unmapped so that null pointers and small offsets from them fault.
#include <cstdint>

namespace host::emu::layout {

inline constexpr uint32_t kPage = 0x1000;

// The thread's information block (FS points here), the process block and the
// descriptor table that gives FS its base.
inline constexpr uint32_t kTib = 0x00010000;
inline constexpr uint32_t kTlsArray = kTib + 0x800;  // implicit TLS slots (fs:[0x2c])
inline constexpr uint32_t kTlsSlots = 64;
inline constexpr uint32_t kPeb = 0x00011000;
inline constexpr uint32_t kGdt = 0x00012000;
inline constexpr uint32_t kSystemSize = 0x3000;

// Stubs: each one jump whose code hook (on this range only) enters the host,
// to a tail outside the range that loads st0 when asked and returns, so that
// a stub call runs the hook once.
inline constexpr uint32_t kStubs = 0x00020000;
inline constexpr uint32_t kStubBytes = 8;
inline constexpr uint32_t kMaxStubs = 2048;
inline constexpr uint32_t kStubsSize = kStubBytes * kMaxStubs;
inline constexpr uint32_t kStubTails = 0x00028000;
inline constexpr uint32_t kStubTailBytes = 32;
inline constexpr uint32_t kStubTailsSize = kStubTailBytes * kMaxStubs;

// Where calls into module code return to: one stop address per nesting depth,
// right after the stubs so that the same code hook ends the emulation there.
// (Unicorn's own stop address is translated anew on every run, which costs
// more than the rest of a short call.)
inline constexpr uint32_t kSentinels = kStubs + kStubsSize;
inline constexpr uint32_t kSentinelBytes = 16;
inline constexpr uint32_t kMaxDepth = 8;
// The stop address given to Unicorn: never mapped, never reached.
inline constexpr uint32_t kNeverReached = 0xfffff000;
// What stubs hand back to their code: a flag and the double to load into st0.
inline constexpr uint32_t kScratch = kStubTails + kStubTailsSize;
inline constexpr uint32_t kScratchSt0Flag = kScratch;
inline constexpr uint32_t kScratchSt0Value = kScratch + 8;

inline constexpr uint32_t kStackBottom = 0x00100000;
inline constexpr uint32_t kStackSize = 0x00100000;
inline constexpr uint32_t kStackTop = kStackBottom + kStackSize;

// The runtime shims' allocator (malloc, calloc...).
inline constexpr uint32_t kHeap = 0x00400000;
inline constexpr uint32_t kHeapSize = 0x00800000;

// Host blocks (service tables, gauge copies, test routines).
inline constexpr uint32_t kHostBlocks = 0x01000000;
inline constexpr uint32_t kHostBlocksSize = 0x01000000;

// Relocated modules go from here up, 64 KiB aligned as Windows does.
inline constexpr uint32_t kImagesFloor = 0x02000000;
inline constexpr uint32_t kImagesCeiling = 0x7fff0000;
inline constexpr uint32_t kImageAlignment = 0x10000;

}  // namespace host::emu::layout

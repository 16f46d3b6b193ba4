#pragma once
// The records the host reads from a gauge module, named after their fields.
// All are constant-initialised static data of the module.
#include <cstddef>
#include <cstdint>

#include "frame/gauge_call.h"

namespace frame {

struct GaugeHeader;
struct ElementHeader;
struct HostServiceTable;

using ModuleRoutine = void(GAUGE_CALL*)();
using ElementListRoutine = void(GAUGE_CALL*)();
using ElementListRoutineArg = void(GAUGE_CALL*)(uint32_t arg);
using GaugeCallback = void(GAUGE_CALL*)(GaugeHeader* gauge, uint32_t service, uint32_t extra);
using MouseRoutine = uint32_t(GAUGE_CALL*)(void* position, uint32_t flags);
using NeedleCallback = double(GAUGE_CALL*)(ElementHeader* element);

inline constexpr uint32_t kImportTableId = 15;
inline constexpr uint32_t kLinkageId = 19;
inline constexpr uint32_t kGaugeVersion = 700;

// Gauge callback service codes the gauges act on.
inline constexpr uint32_t kServiceInstall = 2;
inline constexpr uint32_t kServiceInitialize = 4;
inline constexpr uint32_t kServiceUpdate = 6;
inline constexpr uint32_t kServiceKill = 12;

enum ElementType : uint32_t { kStaticImage = 0, kNeedle = 1, kIcon = 4 };

inline constexpr uint32_t kImageTransparent = 0x1;
inline constexpr uint32_t kImageSaveBackground = 0x2;
inline constexpr uint32_t kImageNoDim = 0x4;
inline constexpr uint32_t kImageLightingHint = 0x4000;
inline constexpr uint32_t kImageHidden = 0x40000000;

enum MouseRectKind : uint32_t {
  kMouseEndOfList = 0,
  kMouseParent = 1,
  kMouseChild = 2,
  kMouseEndOfParent = 3
};

inline constexpr uint32_t kMouseLeftSingle = 0x20000000;
inline constexpr uint32_t kMouseRepeatWhileHeld = 0x00200000;
inline constexpr int32_t kCursorNone = -1;
inline constexpr int32_t kCursorUpArrow = 1;
inline constexpr int32_t kCursorDownArrow = 2;
inline constexpr int32_t kCursorHand = 5;

#if GAUGE_ABI_32
#pragma pack(push, 4)
#endif

struct ImportTableRecord {
  uint32_t id;                 // the service table the module asks for
  HostServiceTable* services;  // written by the host after loading
  uint32_t closing[2];
};

// Fields common to every linkage; the gauge header list follows directly.
template <size_t GaugeCount>
struct LinkageRecord {
  uint32_t id;
  ModuleRoutine init;
  ModuleRoutine deinit;
  uint32_t reserved_12[3];
  GaugeHeader* gauges[GaugeCount + 1];  // null-terminated
};

// A simulation value or a link to a named variable.
struct ModuleVar {
  uint32_t token;
  void* pointer;  // linked named variable storage, or null
  uint32_t reserved_8;
  double value;  // as of the last lookup; integer variables use the first four bytes
  uint32_t reserved_20[2];
};

struct GaugeHeader {
  uint32_t version;
  const char* name;
  ElementHeader** element_list;  // one variable holding the first element
  ElementListRoutine query;
  ElementListRoutineArg install;
  ElementListRoutine initialize;
  ElementListRoutine update;
  ElementListRoutineArg generate;
  ElementListRoutine draw;
  ElementListRoutine kill;
  uint32_t reserved_40;
  uint32_t default_size_mm;
  uint32_t reserved_48[8];
  struct MouseRect* mouse_rects;
  GaugeCallback callback;
  uint32_t reserved_88[8];
};

struct FailureList {
  uint32_t key;
  uint32_t action;
  uint32_t end[4];
};

struct ElementHeader {
  uint32_t type;
  uint32_t bitmap_id;
  int32_t x;
  int32_t y;
  uint32_t reserved_16[2];
  int32_t pivot_x;
  int32_t pivot_y;
  GaugeHeader* gauge;
  uint32_t reserved_36;
  ElementHeader** next_list;  // null-terminated; null in the last element
  FailureList* failure_list;
  uint32_t image_flags;
  uint32_t reserved_52[2];
};

struct StaticElement {
  ElementHeader header;
  uint32_t reserved_60[9];
};

struct IconElement {
  ElementHeader header;
  ModuleVar source;
  uint32_t reserved_88[6];
  uint32_t icon_word;
  uint32_t reserved_116[5];
};

struct NeedleEntry {
  int32_t x;
  int32_t y;
  double value;
  double reserved_16;
};

struct NeedleElement {
  ElementHeader header;
  ModuleVar source;
  uint32_t reserved_88[6];
  const NeedleEntry* table;
  uint32_t table_count;
  uint32_t reserved_120[26];
  NeedleCallback callback;
  uint32_t reserved_228[2];
};

struct MouseRect {
  uint32_t kind;
  int32_t x;
  int32_t y;
  int32_t width;
  int32_t height;
  int32_t cursor;
  uint32_t help_id;
  uint32_t mouse_flags;
  uint32_t event_id;
  MouseRoutine routine;
  uint32_t routine_data;
};

// Where the element-list routine of a given kind sits in the host service table.
enum ElementListSlot : uint32_t {
  kSlotQuery = 24,
  kSlotInstall = 25,
  kSlotInitialize = 26,
  kSlotUpdate = 27,
  kSlotGenerate = 28,
  kSlotDraw = 29,
  kSlotKill = 31,
};

inline constexpr uint32_t kSlotKeyEvent = 36;
inline constexpr uint32_t kSlotRegisterVariable = 37;
inline constexpr uint32_t kSlotLinkVariable = 39;
inline constexpr uint32_t kSlotLookupVariable = 40;
inline constexpr uint32_t kSlotUnregisterVariable = 41;
inline constexpr uint32_t kServiceSlotCount = 64;

struct HostServiceTable {
  ModuleRoutine slot[kServiceSlotCount];  // each cast to its service's own type at the call
};

// The 32-bit layout's sizes and offsets, named once: the 32-bit build
// asserts its records against them, and a host that reads a module's records
// in 32-bit memory (the emulated loader) reads at them.
namespace layout32 {
inline constexpr uint32_t kPointerSize = 4;
inline constexpr uint32_t kImportTableSize = 16;
inline constexpr uint32_t kImportTableRecordId = 0;
inline constexpr uint32_t kImportTableServices = 4;
inline constexpr uint32_t kImportTableClosing = 8;
inline constexpr uint32_t kLinkageRecordId = 0;
inline constexpr uint32_t kLinkageInit = 4;
inline constexpr uint32_t kLinkageDeinit = 8;
inline constexpr uint32_t kLinkageReserved12 = 12;
inline constexpr uint32_t kLinkageGauges = 24;
inline constexpr uint32_t kModuleVarSize = 28;
inline constexpr uint32_t kModuleVarToken = 0;
inline constexpr uint32_t kModuleVarPointer = 4;
inline constexpr uint32_t kModuleVarValue = 12;
inline constexpr uint32_t kModuleVarReserved20 = 20;
inline constexpr uint32_t kGaugeHeaderSize = 120;
inline constexpr uint32_t kGaugeHeaderVersion = 0;
inline constexpr uint32_t kGaugeHeaderName = 4;
inline constexpr uint32_t kGaugeHeaderElementList = 8;
inline constexpr uint32_t kGaugeHeaderQuery = 12;
inline constexpr uint32_t kGaugeHeaderInstall = 16;
inline constexpr uint32_t kGaugeHeaderInitialize = 20;
inline constexpr uint32_t kGaugeHeaderUpdate = 24;
inline constexpr uint32_t kGaugeHeaderGenerate = 28;
inline constexpr uint32_t kGaugeHeaderDraw = 32;
inline constexpr uint32_t kGaugeHeaderKill = 36;
inline constexpr uint32_t kGaugeHeaderDefaultSize = 44;
inline constexpr uint32_t kGaugeHeaderMouseRects = 80;
inline constexpr uint32_t kGaugeHeaderCallback = 84;
inline constexpr uint32_t kFailureListSize = 24;
inline constexpr uint32_t kFailureListKey = 0;  // then its five other words
inline constexpr uint32_t kElementHeaderSize = 60;
inline constexpr uint32_t kElementType = 0;
inline constexpr uint32_t kElementBitmapId = 4;
inline constexpr uint32_t kElementX = 8;
inline constexpr uint32_t kElementY = 12;
inline constexpr uint32_t kElementPivotX = 24;
inline constexpr uint32_t kElementPivotY = 28;
inline constexpr uint32_t kElementGauge = 32;
inline constexpr uint32_t kElementNextList = 40;
inline constexpr uint32_t kElementFailureList = 44;
inline constexpr uint32_t kElementImageFlags = 48;
inline constexpr uint32_t kStaticElementSize = 96;
inline constexpr uint32_t kIconElementSize = 136;
inline constexpr uint32_t kIconSource = 60;
inline constexpr uint32_t kIconWord = 112;
inline constexpr uint32_t kNeedleEntrySize = 24;
inline constexpr uint32_t kNeedleEntryX = 0;
inline constexpr uint32_t kNeedleEntryY = 4;
inline constexpr uint32_t kNeedleEntryValue = 8;
inline constexpr uint32_t kNeedleEntryReserved16 = 16;
inline constexpr uint32_t kNeedleElementSize = 236;
inline constexpr uint32_t kNeedleSource = 60;
inline constexpr uint32_t kNeedleTable = 112;
inline constexpr uint32_t kNeedleTableCount = 116;
inline constexpr uint32_t kNeedleCallback = 224;
inline constexpr uint32_t kMouseRectSize = 44;
inline constexpr uint32_t kMouseRectKind = 0;
inline constexpr uint32_t kMouseRectX = 4;
inline constexpr uint32_t kMouseRectY = 8;
inline constexpr uint32_t kMouseRectWidth = 12;
inline constexpr uint32_t kMouseRectHeight = 16;
inline constexpr uint32_t kMouseRectCursor = 20;
inline constexpr uint32_t kMouseRectHelpId = 24;
inline constexpr uint32_t kMouseRectFlags = 28;
inline constexpr uint32_t kMouseRectEventId = 32;
inline constexpr uint32_t kMouseRectRoutine = 36;
inline constexpr uint32_t kMouseRectRoutineData = 40;
inline constexpr uint32_t kServiceTableSize = 4 * kServiceSlotCount;
// The seven element-list routines follow one another from query to kill.
static_assert(kGaugeHeaderKill == kGaugeHeaderQuery + 6 * kPointerSize);
}  // namespace layout32

#if GAUGE_ABI_32
#pragma pack(pop)
namespace L = layout32;

static_assert(sizeof(void*) == L::kPointerSize);
static_assert(sizeof(ImportTableRecord) == L::kImportTableSize);
static_assert(offsetof(ImportTableRecord, id) == L::kImportTableRecordId);
static_assert(offsetof(ImportTableRecord, services) == L::kImportTableServices);
static_assert(offsetof(ImportTableRecord, closing) == L::kImportTableClosing);
static_assert(offsetof(LinkageRecord<1>, id) == L::kLinkageRecordId);
static_assert(offsetof(LinkageRecord<1>, init) == L::kLinkageInit);
static_assert(offsetof(LinkageRecord<1>, deinit) == L::kLinkageDeinit);
static_assert(offsetof(LinkageRecord<1>, reserved_12) == L::kLinkageReserved12);
static_assert(sizeof(LinkageRecord<1>) == 32);
static_assert(offsetof(LinkageRecord<4>, gauges) == L::kLinkageGauges);
static_assert(sizeof(LinkageRecord<4>) == 44);

static_assert(sizeof(ModuleVar) == L::kModuleVarSize);
static_assert(offsetof(ModuleVar, token) == L::kModuleVarToken);
static_assert(offsetof(ModuleVar, pointer) == L::kModuleVarPointer);
static_assert(offsetof(ModuleVar, value) == L::kModuleVarValue);
static_assert(offsetof(ModuleVar, reserved_20) == L::kModuleVarReserved20);

static_assert(sizeof(GaugeHeader) == L::kGaugeHeaderSize);
static_assert(offsetof(GaugeHeader, version) == L::kGaugeHeaderVersion);
static_assert(offsetof(GaugeHeader, name) == L::kGaugeHeaderName);
static_assert(offsetof(GaugeHeader, element_list) == L::kGaugeHeaderElementList);
static_assert(offsetof(GaugeHeader, query) == L::kGaugeHeaderQuery);
static_assert(offsetof(GaugeHeader, install) == L::kGaugeHeaderInstall);
static_assert(offsetof(GaugeHeader, initialize) == L::kGaugeHeaderInitialize);
static_assert(offsetof(GaugeHeader, update) == L::kGaugeHeaderUpdate);
static_assert(offsetof(GaugeHeader, generate) == L::kGaugeHeaderGenerate);
static_assert(offsetof(GaugeHeader, draw) == L::kGaugeHeaderDraw);
static_assert(offsetof(GaugeHeader, kill) == L::kGaugeHeaderKill);
static_assert(offsetof(GaugeHeader, default_size_mm) == L::kGaugeHeaderDefaultSize);
static_assert(offsetof(GaugeHeader, mouse_rects) == L::kGaugeHeaderMouseRects);
static_assert(offsetof(GaugeHeader, callback) == L::kGaugeHeaderCallback);

static_assert(sizeof(FailureList) == L::kFailureListSize);
static_assert(offsetof(FailureList, key) == L::kFailureListKey);

static_assert(sizeof(ElementHeader) == L::kElementHeaderSize);
static_assert(offsetof(ElementHeader, type) == L::kElementType);
static_assert(offsetof(ElementHeader, bitmap_id) == L::kElementBitmapId);
static_assert(offsetof(ElementHeader, x) == L::kElementX);
static_assert(offsetof(ElementHeader, y) == L::kElementY);
static_assert(offsetof(ElementHeader, pivot_x) == L::kElementPivotX);
static_assert(offsetof(ElementHeader, pivot_y) == L::kElementPivotY);
static_assert(offsetof(ElementHeader, gauge) == L::kElementGauge);
static_assert(offsetof(ElementHeader, next_list) == L::kElementNextList);
static_assert(offsetof(ElementHeader, failure_list) == L::kElementFailureList);
static_assert(offsetof(ElementHeader, image_flags) == L::kElementImageFlags);

static_assert(sizeof(StaticElement) == L::kStaticElementSize);
static_assert(sizeof(IconElement) == L::kIconElementSize);
static_assert(offsetof(IconElement, source) == L::kIconSource);
static_assert(offsetof(IconElement, icon_word) == L::kIconWord);
static_assert(sizeof(NeedleEntry) == L::kNeedleEntrySize);
static_assert(offsetof(NeedleEntry, x) == L::kNeedleEntryX);
static_assert(offsetof(NeedleEntry, y) == L::kNeedleEntryY);
static_assert(offsetof(NeedleEntry, value) == L::kNeedleEntryValue);
static_assert(offsetof(NeedleEntry, reserved_16) == L::kNeedleEntryReserved16);
static_assert(sizeof(NeedleElement) == L::kNeedleElementSize);
static_assert(offsetof(NeedleElement, source) == L::kNeedleSource);
static_assert(offsetof(NeedleElement, source) + offsetof(ModuleVar, value) == 72);
static_assert(offsetof(NeedleElement, table) == L::kNeedleTable);
static_assert(offsetof(NeedleElement, table_count) == L::kNeedleTableCount);
static_assert(offsetof(NeedleElement, callback) == L::kNeedleCallback);

static_assert(sizeof(MouseRect) == L::kMouseRectSize);
static_assert(offsetof(MouseRect, kind) == L::kMouseRectKind);
static_assert(offsetof(MouseRect, x) == L::kMouseRectX);
static_assert(offsetof(MouseRect, y) == L::kMouseRectY);
static_assert(offsetof(MouseRect, width) == L::kMouseRectWidth);
static_assert(offsetof(MouseRect, height) == L::kMouseRectHeight);
static_assert(offsetof(MouseRect, cursor) == L::kMouseRectCursor);
static_assert(offsetof(MouseRect, help_id) == L::kMouseRectHelpId);
static_assert(offsetof(MouseRect, mouse_flags) == L::kMouseRectFlags);
static_assert(offsetof(MouseRect, event_id) == L::kMouseRectEventId);
static_assert(offsetof(MouseRect, routine) == L::kMouseRectRoutine);
static_assert(offsetof(MouseRect, routine_data) == L::kMouseRectRoutineData);

static_assert(sizeof(HostServiceTable) == L::kServiceTableSize);
static_assert(offsetof(HostServiceTable, slot) + 4 * kSlotLookupVariable == 0xa0);
#endif

}  // namespace frame

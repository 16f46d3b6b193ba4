#pragma once
// The scripts and styles the report page inlines, read at build time
// (cmake/embed_text.cmake): Debian's dygraphs, which draws the timeline
// with its zoom, pan and hover, and the page's own timeline script.
namespace host::report {

extern const char kDygraphJs[];
extern const char kDygraphCss[];
extern const char kTimelineJs[];

}  // namespace host::report

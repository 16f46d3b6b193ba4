#pragma once
// The scripts and styles the report page inlines, read at build time
// (cmake/embed_text.cmake): Debian's dygraphs, which draws the timeline
// with its zoom, pan and hover, the page's own timeline script, and the
// side view's drawing, which the live page serves too.
namespace host::report {

extern const char kDygraphJs[];
extern const char kDygraphCss[];
extern const char kTimelineJs[];
extern const char kSideViewJs[];

}  // namespace host::report

// The live page's side view: the session's state.side_view (null until an
// aircraft flies) drawn by the report's own side-view script each time the
// page hears the state, the whole session's trail with the runway in view.
'use strict';

(function () {
  const box = document.getElementById('side-view-box');
  const canvas = document.getElementById('side-view');
  const legend = document.getElementById('side-view-legend');
  document.addEventListener('livestate', (event) => {
    const data = event.detail.side_view || null;
    box.hidden = data === null;
    if (data === null) return;
    SideView.legend(legend, data);
    SideView.draw(canvas, data);
  });
})();

// SPDX-License-Identifier: MIT
// The frame timer's timeouts; the program is told when the tab is hidden or shown.
(() => {
  'use strict';
  const P = Pel;
  // --- the frame timer's timeout ---
  let timeout = 0;
  P.timer = {
    arm(ms) {
      clearTimeout(timeout);
      timeout = setTimeout(() => {
        timeout = 0;
        Module._pel_timer_wake();
        P.syncPage();
      }, ms);
    },
    disarm() {
      clearTimeout(timeout);
      timeout = 0;
    },
  };
  document.addEventListener('visibilitychange', () => {
    if (P.running) Module._pel_visibility(document.visibilityState !== 'hidden' ? 1 : 0);
  });
})();

// SPDX-License-Identifier: MIT
// Sound: effects through Web Audio, music through an audio element.
(() => {
  'use strict';
  const P = Pel;
  // --- sound: effects through Web Audio, music through an audio element; both wait for the
  // player's first click or key, as browsers require ---
  P.audio = {
    buffers: [],
    context: null,
    track: null,
    music: new Audio(),
    unlock() {
      if (this.context || P.isEnded) return;
      const Context = window.AudioContext || window.webkitAudioContext;
      if (!Context) return;
      this.context = new Context();
      this.ran = this.context.state === 'running';
      this.context.addEventListener('statechange', () => {
        if (this.context.state === 'running') this.ran = true;
      });
      this.rest();
      if (this.track) this.startTrack();
    },
    ran: false,
    // A running context costs the browser's audio thread even in silence, so it is suspended a
    // moment after the last effect ends and resumed for the next one.
    sounding: 0,
    resting: 0,
    rest() {
      clearTimeout(this.resting);
      this.resting = setTimeout(() => {
        if (!this.sounding && this.context.state === 'running') this.context.suspend().catch(() => {});
      }, 1000);
    },
    // The track is fetched only when it can play: after the first gesture, with music on.
    startTrack() {
      this.music.src = P.fileUrl(`music/${this.track}.ogg`);
      this.music.play().catch(() => {});
    },
    played: 0,
    playWave(id) {
      const buffer = this.buffers[id];
      if (!this.context || !buffer) return;
      this.played += 1;
      clearTimeout(this.resting);
      if (this.context.state === 'suspended') this.context.resume().catch(() => {});
      // A new source each time: copies of one effect overlap.
      const source = this.context.createBufferSource();
      source.buffer = buffer;
      source.connect(this.context.destination);
      this.sounding += 1;
      source.addEventListener('ended', () => {
        this.sounding -= 1;
        if (!this.sounding) this.rest();
      });
      source.start();
    },
    tracksStarted: 0,
    playMusic(name) {
      this.track = name;
      this.tracksStarted += 1;
      if (this.context) this.startTrack();
    },
    stopMusic() {
      this.track = null;
      this.music.pause();
      this.music.removeAttribute('src');
      this.music.load();
    },
    stopAll() {
      clearTimeout(this.resting);
      this.stopMusic();
      if (this.context) this.context.close();
    },
  };
  P.audio.music.addEventListener('ended', () => {
    if (P.audio.track) Module._pel_music_ended();
  });
})();

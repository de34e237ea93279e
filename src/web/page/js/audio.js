// Sound: effects and music through Web Audio.
(() => {
  'use strict';
  const P = Pel;
  const Context = window.AudioContext || window.webkitAudioContext;

  // The music: a track decoded whole and played from memory in a context of its own, which runs
  // only while a track plays; an audio element costs its page a decoder running all along.
  // Says 'ended' when a track has played to its end.
  class Music extends EventTarget {
    constructor() {
      super();
      this.paused = true;
      this.currentSrc = '';
      this.context = null;
      this.source = null;
      this.asked = 0;
    }

    play(url) {
      this.stop();
      const asked = this.asked;
      this.paused = false;
      this.currentSrc = new URL(url, location.href).href;
      if (!this.context) this.context = new Context();
      fetch(url)
        .then((r) => {
          if (!r.ok) throw new Error(`${url} (${r.status})`);
          return r.arrayBuffer();
        })
        .then((bytes) => this.context.decodeAudioData(bytes))
        .then((buffer) => {
          if (asked !== this.asked) return;
          const source = this.context.createBufferSource();
          source.buffer = buffer;
          source.connect(this.context.destination);
          source.addEventListener('ended', () => {
            if (this.source !== source) return;
            this.source = null;
            this.paused = true;
            this.dispatchEvent(new Event('ended'));
          });
          this.source = source;
          if (this.context.state === 'suspended') this.context.resume().catch(() => {});
          source.start();
        })
        .catch((e) => {
          if (asked === this.asked) this.paused = true;
          console.warn('pelmoravan: music not played', e);
        });
    }

    stop() {
      this.asked += 1;
      this.paused = true;
      this.currentSrc = '';
      const source = this.source;
      this.source = null;
      if (source) source.stop();
      if (this.context && this.context.state === 'running') this.context.suspend().catch(() => {});
    }

    close() {
      this.stop();
      if (this.context) this.context.close();
    }
  }

  // --- both wait for the player's first click or key, as browsers require ---
  P.audio = {
    buffers: [],
    context: null,
    track: null,
    music: new Music(),
    unlock() {
      if (this.context || P.isEnded || !Context) return;
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
      this.music.play(P.fileUrl(`music/${this.track}.ogg`));
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
      this.music.stop();
    },
    stopAll() {
      clearTimeout(this.resting);
      this.track = null;
      this.music.close();
      if (this.context) this.context.close();
    },
  };
  P.audio.music.addEventListener('ended', () => {
    if (P.audio.track) Module._pel_music_ended();
  });
})();

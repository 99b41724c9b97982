// The player's files in the browser: settings, best times, the ghost and the last race's
// replay, and the remembered quality rung. The game keeps them where the desktop does, below
// its home folder (the XDG folders point there); that folder lives in the browser's IndexedDB.
// It is read back before the page may start the game, and written back when the game says a
// file there changed (platform/WholeFile.cpp, the one place that changes them). Storage that
// is full or refused costs one line on the page, and the game plays on with the files in
// memory. A --js-library: the game calls quillorb_keep_player_files().

mergeInto(LibraryManager.library, {
  $quillorbPlayerFiles__deps: ['$FS', '$IDBFS'],
  // Read back before main: the page starts the game once the runtime is ready, which waits
  // for this as for the data.
  $quillorbPlayerFiles__postset: 'addOnPreRun(quillorbPlayerFiles.readBack);\n' +
    "Module['keepingPlayerFiles'] = quillorbPlayerFiles.busy;",
  $quillorbPlayerFiles: {
    // emscripten's HOME, which the game's XDG folders are found below.
    home: '/home/web_user',
    syncing: false,
    pending: false,
    complained: false,

    complain: function (what, error) {
      if (quillorbPlayerFiles.complained)
        return;
      quillorbPlayerFiles.complained = true;
      var why = error && (error.message || error.name || error.code) || String(error);
      var text = 'Your best times and settings cannot be kept in this browser (' + what + ': ' +
                 why + '); the game goes on without keeping them.';
      err(text);
      if (Module['notice'])
        Module['notice'](text);
    },

    busy: function () {
      return quillorbPlayerFiles.syncing || quillorbPlayerFiles.pending;
    },

    // One write-back at a time, started once the frame that asked for it is over, so a frame
    // that changes several files writes them back once. A change while one runs asks for
    // another after it; a write-back that a change overtook (a file gone by the time it was
    // read) is simply done again.
    keep: function () {
      if (quillorbPlayerFiles.syncing) {
        quillorbPlayerFiles.pending = true;
        return;
      }
      quillorbPlayerFiles.syncing = true;
      setTimeout(function () {
        quillorbPlayerFiles.pending = false;
        FS.syncfs(false, function (error) {
          quillorbPlayerFiles.syncing = false;
          if (error && !quillorbPlayerFiles.pending)
            quillorbPlayerFiles.complain('storage refused the write', error);
          if (Module['onPlayerFilesKept'])
            Module['onPlayerFilesKept'](!error);
          if (quillorbPlayerFiles.pending) {
            quillorbPlayerFiles.pending = false;
            quillorbPlayerFiles.keep();
          }
        });
      }, 0);
    },

    readBack: function () {
      var home = quillorbPlayerFiles.home;
      try {
        FS.mkdirTree(home);
        FS.mount(IDBFS, {}, home);
      } catch (error) {
        quillorbPlayerFiles.complain('no browser storage', error);
        return;
      }
      addRunDependency('quillorb-player-files');
      FS.syncfs(true, function (error) {
        if (error)
          quillorbPlayerFiles.complain('browser storage refused', error);
        removeRunDependency('quillorb-player-files');
      });
    },
  },

  quillorb_keep_player_files__deps: ['$quillorbPlayerFiles'],
  quillorb_keep_player_files: function () {
    quillorbPlayerFiles.keep();
  },
});

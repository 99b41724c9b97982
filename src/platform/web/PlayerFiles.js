// The player's files in the browser: settings, best times, the ghost and the last race's
// replay, and the remembered quality rung. The game keeps them where the desktop does, below
// its home folder (the XDG folders point there); that folder lives in the browser's IndexedDB,
// is read back before the game starts and is written back whenever a file there is closed
// after writing, renamed or removed. Storage that is full or refused costs one line on the
// page, and the game plays on with the files in memory.

var quillorbPlayerFiles = {
  home: '/home/web_user',
  syncing: false,
  pending: false,
  complained: false,

  inHome: function (path) {
    return typeof path === 'string' && path.indexOf(quillorbPlayerFiles.home + '/') === 0;
  },

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

  // One write-back at a time, started once the frame that wrote is over: a file is written
  // to a temporary name and renamed in one go, and the write-back reads the folder as it is
  // when it starts. A change while one runs asks for another after it; a write-back that a
  // change overtook (a file gone by the time it was read) is simply done again.
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

  // Every file the game writes ends in a close (or, written whole, a rename over the old one).
  watchWrites: function () {
    var close = FS.close;
    FS.close = function (stream) {
      var wrote = stream && quillorbPlayerFiles.inHome(stream.path) && (stream.flags & 3) !== 0;
      var result = close(stream);
      if (wrote)
        quillorbPlayerFiles.keep();
      return result;
    };
    var rename = FS.rename;
    FS.rename = function (from, to) {
      var result = rename(from, to);
      if (quillorbPlayerFiles.inHome(to))
        quillorbPlayerFiles.keep();
      return result;
    };
    var unlink = FS.unlink;
    FS.unlink = function (path) {
      var result = unlink(path);
      if (quillorbPlayerFiles.inHome(path))
        quillorbPlayerFiles.keep();
      return result;
    };
  },

  // The game starts only once the files are read back, so it finds them as it left them.
  mount: function () {
    var home = quillorbPlayerFiles.home;
    try {
      FS.mkdirTree(home);
      FS.mount(FS.filesystems.IDBFS, {}, home);
    } catch (error) {
      quillorbPlayerFiles.complain('no browser storage', error);
      return;
    }
    addRunDependency('quillorb-player-files');
    FS.syncfs(true, function (error) {
      if (error)
        quillorbPlayerFiles.complain('browser storage refused', error);
      quillorbPlayerFiles.watchWrites();
      removeRunDependency('quillorb-player-files');
    });
  },
};

Module['keepingPlayerFiles'] = function () {
  return quillorbPlayerFiles.syncing || quillorbPlayerFiles.pending;
};

Module['preRun'] = Module['preRun'] || [];
Module['preRun'].push(quillorbPlayerFiles.mount);

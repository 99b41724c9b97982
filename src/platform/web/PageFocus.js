// Whether the page has the player's attention. The browser's GLFW never reports its window
// focused, so the game asks this instead: the page loses it when its tab is hidden or the
// browser window loses the keyboard, and the game pauses as the desktop does on lost focus.
// The picture a pause freezes on must outlive being shown, so WebGL keeps its drawing buffer.

Module['pageFocused'] = true;

function quillorbWatchFocus() {
  var update = function () {
    Module['pageFocused'] = !document.hidden && document.hasFocus();
  };
  window.addEventListener('blur', update);
  window.addEventListener('focus', update);
  document.addEventListener('visibilitychange', update);
  update();
}

function quillorbKeepDrawingBuffer() {
  var createContext = GL.createContext;
  GL.createContext = function (canvas, attributes) {
    attributes['preserveDrawingBuffer'] = true;
    return createContext.call(GL, canvas, attributes);
  };
}

Module['preRun'] = Module['preRun'] || [];
Module['preRun'].push(quillorbWatchFocus, quillorbKeepDrawingBuffer);

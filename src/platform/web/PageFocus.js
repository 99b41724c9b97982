// Whether the page has the player's attention. The browser's GLFW never reports its window
// focused, so the game asks this instead: the page loses it when its tab is hidden or the
// browser window loses the keyboard, and the game pauses as the desktop does on lost focus.
// A --js-library: the game calls quillorb_page_focused(), and its first call starts watching.

mergeInto(LibraryManager.library, {
  $quillorbPageFocus: {
    watching: false,
    focused: true,

    update: function () {
      quillorbPageFocus.focused = !document.hidden && document.hasFocus();
    },

    watch: function () {
      quillorbPageFocus.watching = true;
      window.addEventListener('blur', quillorbPageFocus.update);
      window.addEventListener('focus', quillorbPageFocus.update);
      document.addEventListener('visibilitychange', quillorbPageFocus.update);
      quillorbPageFocus.update();
    },
  },

  quillorb_page_focused__deps: ['$quillorbPageFocus'],
  quillorb_page_focused: function () {
    if (!quillorbPageFocus.watching)
      quillorbPageFocus.watch();
    return quillorbPageFocus.focused ? 1 : 0;
  },
});

/* closewindow TITLE: sends WM_DELETE_WINDOW to every top-level window named TITLE, as a
   window manager's close button would, so the program can shut down normally. */
#include <stdio.h>
#include <string.h>

#include <X11/Xatom.h>
#include <X11/Xlib.h>

static int closeMatching(Display* display, Window window, const char* title, Atom protocols,
                         Atom deleteWindow) {
    int closed = 0;
    char* name = NULL;
    if (XFetchName(display, window, &name) && name) {
        if (strcmp(name, title) == 0) {
            XEvent event;
            memset(&event, 0, sizeof event);
            event.xclient.type = ClientMessage;
            event.xclient.window = window;
            event.xclient.message_type = protocols;
            event.xclient.format = 32;
            event.xclient.data.l[0] = (long)deleteWindow;
            event.xclient.data.l[1] = CurrentTime;
            XSendEvent(display, window, False, NoEventMask, &event);
            closed = 1;
        }
        XFree(name);
    }
    Window root, parent, *children = NULL;
    unsigned int count = 0;
    if (XQueryTree(display, window, &root, &parent, &children, &count)) {
        for (unsigned int i = 0; i < count; ++i)
            closed += closeMatching(display, children[i], title, protocols, deleteWindow);
        if (children)
            XFree(children);
    }
    return closed;
}

int main(int argc, char** argv) {
    if (argc != 2) {
        fprintf(stderr, "usage: closewindow TITLE\n");
        return 2;
    }
    Display* display = XOpenDisplay(NULL);
    if (!display) {
        fprintf(stderr, "closewindow: no X display\n");
        return 1;
    }
    Atom protocols = XInternAtom(display, "WM_PROTOCOLS", False);
    Atom deleteWindow = XInternAtom(display, "WM_DELETE_WINDOW", False);
    int closed = closeMatching(display, DefaultRootWindow(display), argv[1], protocols, deleteWindow);
    XFlush(display);
    XCloseDisplay(display);
    if (!closed) {
        fprintf(stderr, "closewindow: no window named '%s'\n", argv[1]);
        return 1;
    }
    return 0;
}

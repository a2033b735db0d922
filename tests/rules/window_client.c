/* tk410-test-window: a plain X11 client for the tests of profiles that follow
 * the program in front. It opens one window that says which process owns it
 * (_NET_WM_PID) and carries the class "<file name of argv[0]>", "Tk410Test",
 * prints the window id in decimal on a line of its own, and keeps the window
 * until it is killed. Copies under other names are "different programs". */

#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <unistd.h>
#include <xcb/xcb.h>

static xcb_atom_t Atom(xcb_connection_t* c, const char* name) {
  xcb_intern_atom_reply_t* reply =
      xcb_intern_atom_reply(c, xcb_intern_atom(c, 0, (uint16_t)strlen(name), name), NULL);
  xcb_atom_t atom = reply ? reply->atom : XCB_ATOM_NONE;
  free(reply);
  return atom;
}

int main(int argc, char** argv) {
  (void)argc;
  xcb_connection_t* c = xcb_connect(NULL, NULL);
  if (xcb_connection_has_error(c)) return 1;
  xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(c)).data;
  xcb_window_t window = xcb_generate_id(c);
  const uint32_t values[] = {screen->white_pixel, XCB_EVENT_MASK_STRUCTURE_NOTIFY};
  xcb_create_window(c, XCB_COPY_FROM_PARENT, window, screen->root, 10, 10, 200, 120, 0,
                    XCB_WINDOW_CLASS_INPUT_OUTPUT, screen->root_visual, XCB_CW_BACK_PIXEL | XCB_CW_EVENT_MASK,
                    values);

  const char* name = strrchr(argv[0], '/') ? strrchr(argv[0], '/') + 1 : argv[0];
  char wm_class[256];
  const int length = snprintf(wm_class, sizeof wm_class, "%s%cTk410Test", name, '\0');
  xcb_change_property(c, XCB_PROP_MODE_REPLACE, window, XCB_ATOM_WM_CLASS, XCB_ATOM_STRING, 8,
                      (uint32_t)length + 1, wm_class);
  xcb_change_property(c, XCB_PROP_MODE_REPLACE, window, XCB_ATOM_WM_NAME, XCB_ATOM_STRING, 8,
                      (uint32_t)strlen(name), name);
  const uint32_t pid = (uint32_t)getpid();
  xcb_change_property(c, XCB_PROP_MODE_REPLACE, window, Atom(c, "_NET_WM_PID"), XCB_ATOM_CARDINAL, 32, 1, &pid);
  xcb_map_window(c, window);
  xcb_flush(c);
  printf("%u\n", window);
  fflush(stdout);

  xcb_generic_event_t* event;
  while ((event = xcb_wait_for_event(c)) != NULL) free(event);
  xcb_disconnect(c);
  return 0;
}

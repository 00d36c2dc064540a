#include "browser/loading_dialog.h"

#include <X11/Xutil.h>
#include <gdk/gdkx.h>

namespace vorna {

int NextLoadingProgress(int position) {
  position += 2;
  return position >= 100 ? 0 : position;
}

void LoadingDialogPosition(int ownerX, int ownerY, int ownerWidth, int ownerHeight, int& x,
                           int& y) {
  x = ownerX + (ownerWidth - kLoadingDialogWidth) / 2;
  y = ownerY + (ownerHeight - kLoadingDialogHeight) / 3;
}

LoadingDialog::LoadingDialog(GtkWindow* owner) {
  window_ = gtk_window_new(GTK_WINDOW_TOPLEVEL);
  GtkWindow* window = GTK_WINDOW(window_);
  gtk_window_set_decorated(window, FALSE);
  gtk_window_set_resizable(window, FALSE);
  gtk_window_set_skip_taskbar_hint(window, TRUE);
  gtk_window_set_type_hint(window, GDK_WINDOW_TYPE_HINT_UTILITY);
  gtk_window_set_transient_for(window, owner);
  gtk_window_set_accept_focus(window, FALSE);
  gtk_window_set_title(window, "加载中");
  gtk_window_set_default_size(window, kLoadingDialogWidth, kLoadingDialogHeight);
  gtk_widget_set_size_request(window_, kLoadingDialogWidth, kLoadingDialogHeight);

  GtkWidget* box = gtk_box_new(GTK_ORIENTATION_VERTICAL, 8);
  gtk_container_set_border_width(GTK_CONTAINER(box), 12);
  gtk_box_pack_start(GTK_BOX(box), gtk_label_new("加载中，请稍候..."), TRUE, TRUE, 0);
  bar_ = gtk_progress_bar_new();
  gtk_box_pack_start(GTK_BOX(box), bar_, FALSE, FALSE, 0);
  gtk_container_add(GTK_CONTAINER(window_), box);

  // The outer rectangle of the owner, frame included when there is one.
  int x = 0, y = 0, width = 0, height = 0;
  if (GdkWindow* ownerWindow = gtk_widget_get_window(GTK_WIDGET(owner))) {
    GdkRectangle frame;
    gdk_window_get_frame_extents(ownerWindow, &frame);
    x = frame.x, y = frame.y, width = frame.width, height = frame.height;
  } else {
    gtk_window_get_position(owner, &x, &y);
    gtk_window_get_size(owner, &width, &height);
  }
  int dialogX = 0, dialogY = 0;
  LoadingDialogPosition(x, y, width, height, dialogX, dialogY);
  gtk_window_set_gravity(window, GDK_GRAVITY_NORTH_WEST);
  gtk_window_move(window, dialogX, dialogY);

  // Its own window class keeps it apart from the browser windows.
  gtk_widget_realize(window_);
  if (GdkWindow* gdkWindow = gtk_widget_get_window(window_); GDK_IS_X11_WINDOW(gdkWindow)) {
    XClassHint hint{const_cast<char*>("loading"), const_cast<char*>(kLoadingDialogClass)};
    XSetClassHint(GDK_WINDOW_XDISPLAY(gdkWindow), GDK_WINDOW_XID(gdkWindow), &hint);
  }
  gtk_widget_show_all(window_);
  timer_ = g_timeout_add(100, OnTick, this);
}

LoadingDialog::~LoadingDialog() {
  if (timer_) g_source_remove(timer_);
  if (window_) gtk_widget_destroy(window_);
}

gboolean LoadingDialog::OnTick(gpointer self) {
  auto* dialog = static_cast<LoadingDialog*>(self);
  dialog->position_ = NextLoadingProgress(dialog->position_);
  gtk_progress_bar_set_fraction(GTK_PROGRESS_BAR(dialog->bar_), dialog->position_ / 100.0);
  return G_SOURCE_CONTINUE;
}

}  // namespace vorna

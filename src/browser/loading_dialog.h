#pragma once
// The small caption-less window shown over a new window until its first page
// has loaded: a text and a progress bar that sweeps 0..100 every five seconds.
#include <gtk/gtk.h>

namespace vorna {

inline constexpr const char* kLoadingDialogClass = "VornaLoading";
inline constexpr int kLoadingDialogWidth = 240;
inline constexpr int kLoadingDialogHeight = 72;

// Next progress position: +2 per tick, back to 0 once it reaches 100.
int NextLoadingProgress(int position);

// Top-left of the dialog over an owner whose outer rectangle is given:
// centred horizontally, one third of the free height from the top.
void LoadingDialogPosition(int ownerX, int ownerY, int ownerWidth, int ownerHeight, int& x,
                           int& y);

class LoadingDialog {
 public:
  explicit LoadingDialog(GtkWindow* owner);
  ~LoadingDialog();
  LoadingDialog(const LoadingDialog&) = delete;
  LoadingDialog& operator=(const LoadingDialog&) = delete;

 private:
  static gboolean OnTick(gpointer self);

  GtkWidget* window_ = nullptr;
  GtkWidget* bar_ = nullptr;
  int position_ = 0;
  unsigned timer_ = 0;
};

}  // namespace vorna

#pragma once
// The progress dialog in front of a long operation. While a ModalGauge
// lives the dialog is shown with the caption and blocks every other window,
// so no second command can start on the line; it is hidden again when the
// object goes.
//
//   std::unique_ptr<TThredTess> thread;
//   RunBehindGauge(gauge, caption, [&] {
//     thread = std::make_unique<TThredTess>(...);   // sets CollectionBusy
//   });
//   thread.reset();

#include <Qt>
#include <atomic>
#include <functional>
#include <string>

namespace tessaro {

class TGaugeDLG;

class ModalGauge {
 public:
  ModalGauge(TGaugeDLG& gauge, const std::string& caption);
  ~ModalGauge();
  ModalGauge(const ModalGauge&) = delete;
  ModalGauge& operator=(const ModalGauge&) = delete;

 private:
  TGaugeDLG& gauge_;
  Qt::WindowModality previous_;
};

// Keeps this thread's event loop running while busy is set (a worker's busy
// flag, cleared as the worker's last act). A helper thread sleeps on the
// flag and its end quits the loop. Workers that call into this thread with
// blocking queued calls go on meanwhile. The wait counts as an exchange in
// progress.
void WaitInEventLoop(const std::atomic<bool>& busy);

// Shows the gauge, starts a collection or conversion thread with start()
// (which sets CollectionBusy), processes events while CollectionBusy is set
// and hides the gauge. When the worker cannot be started (start throws) the
// thread-creation message is shown and the result is false.
bool RunBehindGauge(TGaugeDLG& gauge, const std::string& caption,
                    const std::function<void()>& start);

}  // namespace tessaro

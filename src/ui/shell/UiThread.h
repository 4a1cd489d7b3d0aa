#pragma once
// Calls into the user-interface thread. Worker threads use these to reach
// windows; the call blocks until the UI thread has run it, so the caller sees
// its effect (and result). On the UI thread itself the call runs directly.
// The UI thread must keep its event loop running while a worker calls in.

#include <QCoreApplication>
#include <QMetaObject>
#include <QObject>
#include <QThread>
#include <type_traits>
#include <utility>

namespace tessaro {

inline bool OnThreadOf(const QObject* context) {
  return QThread::currentThread() == context->thread();
}

template <typename F>
auto CallOnThreadOf(QObject* context, F&& fn) -> std::invoke_result_t<F> {
  using R = std::invoke_result_t<F>;
  if (OnThreadOf(context)) return fn();
  if constexpr (std::is_void_v<R>) {
    QMetaObject::invokeMethod(context, std::forward<F>(fn), Qt::BlockingQueuedConnection);
  } else {
    R result{};
    QMetaObject::invokeMethod(
        context, [&] { result = fn(); }, Qt::BlockingQueuedConnection);
    return result;
  }
}

// Queues fn on the thread of context without waiting (socket notifications).
template <typename F>
void PostToThreadOf(QObject* context, F&& fn) {
  QMetaObject::invokeMethod(context, std::forward<F>(fn), Qt::QueuedConnection);
}

}  // namespace tessaro

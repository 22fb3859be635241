#pragma once

#include <QMetaObject>
#include <QObject>
#include <QThread>

// A fake's bus object answering from a thread of its own, as another process would, so that the
// test's blocking calls to it get their answers. Declare it as the fake's last member: it takes
// the object over once the rest is made, and hands it back to the thread that destroys it (where
// QtDBus expects an object it exported to end) before the rest goes.
class OwnThread {
public:
    explicit OwnThread(QObject* object)
        : m_object(object) {
        m_object->moveToThread(&m_thread);
        m_thread.start();
    }
    ~OwnThread() {
        QThread* here = QThread::currentThread();
        QMetaObject::invokeMethod(
            m_object, [this, here] { m_object->moveToThread(here); }, Qt::BlockingQueuedConnection);
        m_thread.quit();
        m_thread.wait();
    }
    OwnThread(const OwnThread&) = delete;
    OwnThread& operator=(const OwnThread&) = delete;

private:
    QObject* m_object;
    QThread m_thread;
};

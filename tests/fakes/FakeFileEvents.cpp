#include "FakeFileEvents.h"

#include <QFileInfo>

class FakeFileEvents::FakeWatch final : public Watch {
public:
    FakeWatch(FakeFileEvents& owner, QString path, Events mask, Handler handler)
        : owner(owner)
        , path(std::move(path))
        , mask(mask)
        , handler(std::move(handler)) {}
    ~FakeWatch() override { owner.m_watches.remove(path, this); }

    FakeFileEvents& owner;
    const QString path;
    const Events mask;
    const Handler handler;
};

std::unique_ptr<FileEvents::Watch> FakeFileEvents::watch(const QString& path, Events mask, Handler handler,
                                                         Failure* failure) {
    if (exhausted || !QFileInfo::exists(path)) {
        if (failure)
            *failure = exhausted ? Failure::Exhausted : Failure::CannotOpen;
        return nullptr;
    }
    auto watch = std::make_unique<FakeWatch>(*this, path, mask, std::move(handler));
    m_watches.insert(path, watch.get());
    return watch;
}

bool FakeFileEvents::fire(const QString& path, Events fired) {
    const QList<FakeWatch*> watches = m_watches.values(path);
    for (FakeWatch* watch : watches) {
        const Handler handler = watch->handler; // the handler may drop its watch
        if (fired & watch->mask)
            handler(fired & watch->mask);
    }
    return !watches.isEmpty();
}

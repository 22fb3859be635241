#pragma once

#include <QObject>
#include <QPointer>

#include <type_traits>
#include <utility>

// `handler` for as long as `context` lives: a call that comes after the context is destroyed does
// nothing and answers an empty value. For callbacks that may arrive after their owner is gone,
// such as a launch's answer.
template <typename Handler> auto boundTo(const QObject* context, Handler handler) {
    return [context = QPointer<const QObject>(context), handler = std::move(handler)](auto&&... args) {
        using Result = std::invoke_result_t<const Handler&, decltype(args)...>;
        if (!context) {
            if constexpr (std::is_void_v<Result>)
                return;
            else
                return Result();
        }
        return handler(std::forward<decltype(args)>(args)...);
    };
}

#include "platform.h"
#include "text_field.h"
#include "text_mime.h"

#include <QClipboard>
#include <QEventLoop>
#include <QGuiApplication>
#include <QMimeData>
#include <QTimer>

#ifdef QUORVEL_HAS_X11
#include <xcb/xcb.h>
#endif

#include <cstdlib>
#include <memory>
#include <optional>

namespace quorvel::forms {
namespace {

#ifdef QUORVEL_HAS_X11
template <class Reply> using XcbReply = std::unique_ptr<Reply, decltype(&std::free)>;

// Whether the X server names this program the clipboard's owner, or nothing off X11. Qt records that
// it owns the clipboard even when the server refused the request, of which it only warns.
std::optional<bool> X11OwnsClipboard() {
    // The offscreen platform answers for X11 too, with no connection.
    auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    xcb_connection_t* connection = x11 ? x11->connection() : nullptr;
    if (QGuiApplication::platformName() != QLatin1String("xcb") || !connection)
        return std::nullopt;
    static constexpr char kName[] = "CLIPBOARD";
    const XcbReply<xcb_intern_atom_reply_t> atom(
        xcb_intern_atom_reply(connection, xcb_intern_atom(connection, 0, sizeof kName - 1, kName), nullptr),
        &std::free);
    if (!atom)
        return false;
    const XcbReply<xcb_get_selection_owner_reply_t> owner(
        xcb_get_selection_owner_reply(connection, xcb_get_selection_owner(connection, atom->atom), nullptr),
        &std::free);
    // Windows this program made carry its connection's resource id base.
    const xcb_setup_t* setup = xcb_get_setup(connection);
    return owner && owner->owner != XCB_NONE &&
           (owner->owner & ~setup->resource_id_mask) == setup->resource_id_base;
}
#else
std::optional<bool> X11OwnsClipboard() { return std::nullopt; }
#endif

// On Wayland the compositor answers a copy it took by offering the new selection to the program with
// the keyboard focus, the program itself included. A copy it refused, such as one made with an input
// event older than another program's later copy, goes unanswered, while Qt goes on saying that the
// program owns the clipboard. So the answer is awaited, or nothing off Wayland and without the focus.
// Only a compositor stalled for the whole wait could make a copy it took look refused.
std::optional<bool> WaylandAnswered() {
    if (!QGuiApplication::platformName().startsWith(QLatin1String("wayland")) ||
        !QGuiApplication::focusWindow())
        return std::nullopt;
    constexpr int kWaitMs = 3000;
    QClipboard* clipboard = QGuiApplication::clipboard();
    QEventLoop loop;
    bool answered = false;
    QObject::connect(clipboard, &QClipboard::changed, &loop, [&](QClipboard::Mode mode) {
        if (mode != QClipboard::Clipboard)
            return;
        answered = true;
        loop.quit();
    });
    QTimer::singleShot(kWaitMs, &loop, &QEventLoop::quit);
    // The user's clicks and keys wait until the copy is settled.
    loop.exec(QEventLoop::ExcludeUserInputEvents);
    // A later copy by another program may have been the answer.
    return answered && clipboard->ownsClipboard();
}

class QtClipboard : public Clipboard {
public:
    void clear() override { QGuiApplication::clipboard()->clear(); }

    std::optional<std::u16string> text() const override {
        const QMimeData* data = QGuiApplication::clipboard()->mimeData(QClipboard::Clipboard);
        if (!data || !data->hasText())
            return std::nullopt;
        return std::u16string(qt::Units(data->text()));
    }

    bool hasText() const override {
        const QMimeData* data = QGuiApplication::clipboard()->mimeData(QClipboard::Clipboard);
        return data && data->hasText();
    }

protected:
    void place(std::u16string_view text, Content content) override {
        std::unique_ptr<QMimeData> data = qt::TextMimeData(text, content == Content::Sensitive);
        placed_ = data.get();
        QGuiApplication::clipboard()->setMimeData(data.release());
    }

    bool holdsPlaced() const override {
        if (const std::optional<bool> owns = X11OwnsClipboard())
            return *owns;
        if (const std::optional<bool> answered = WaylandAnswered())
            return *answered;
        // Platforms that keep the clipboard in the program hand back what was put there.
        const QClipboard* clipboard = QGuiApplication::clipboard();
        return clipboard->ownsClipboard() || clipboard->mimeData() == placed_;
    }

private:
    const QMimeData* placed_ = nullptr;
};

}  // namespace

namespace qt {

std::unique_ptr<QMimeData> TextMimeData(std::u16string_view text, bool sensitive) {
    auto data = std::make_unique<QMimeData>();
    data->setText(FromUnits(text));
    if (sensitive) {
        // Honoured by the clipboard managers of Linux desktops.
        data->setData(QStringLiteral("x-kde-passwordManagerHint"), QByteArrayLiteral("secret"));
    }
    return data;
}

}  // namespace qt

namespace platform {

std::unique_ptr<Clipboard> SystemClipboard() { return std::make_unique<QtClipboard>(); }

}  // namespace platform
}  // namespace quorvel::forms

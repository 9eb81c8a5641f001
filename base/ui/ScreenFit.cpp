#include "base/ui/ScreenFit.h"

#include <QGuiApplication>
#include <QLayout>
#include <QScreen>
#include <QWidget>

namespace ScreenFit {

namespace {
// The title bar and borders a window manager adds around the window's own area.
constexpr int frameWidth = 16;
constexpr int frameHeight = 40;
} // namespace

QSize availableSize(const QWidget* window)
{
    const QScreen* screen = window->screen() ? window->screen() : QGuiApplication::primaryScreen();
    return screen ? screen->availableGeometry().size() - QSize(frameWidth, frameHeight) : QSize();
}

void fitToScreen(QWidget* window)
{
    const QSize available = availableSize(window);
    if (available.isEmpty())
        return;
    if (QLayout* layout = window->layout()) {
        layout->activate();
        // A layout holds its window at its own minimum; one larger than the screen lets go.
        const QSize needed = layout->minimumSize();
        if (needed.width() > available.width() || needed.height() > available.height())
            layout->setSizeConstraint(QLayout::SetNoConstraint);
    }
    window->setMinimumSize(window->minimumSize().boundedTo(available));
    const QSize wanted = window->testAttribute(Qt::WA_Resized) ? window->size() : window->sizeHint();
    window->resize(wanted.boundedTo(available).expandedTo(window->minimumSize()));
}

} // namespace ScreenFit

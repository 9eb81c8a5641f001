#include "base/ui/WheelGuard.h"

#include <QAbstractScrollArea>
#include <QAbstractSpinBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QEvent>
#include <QWheelEvent>

namespace {

class WheelFilter : public QObject {
public:
    using QObject::QObject;

    // One filter serves every field; it lives as long as the application.
    static WheelFilter* instance()
    {
        static WheelFilter* filter = new WheelFilter(QCoreApplication::instance());
        return filter;
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() != QEvent::Wheel)
            return false;
        auto* field = qobject_cast<QWidget*>(watched);
        if (!field || field->hasFocus())
            return false;
        // The list around the field scrolls instead, as if the field were not there.
        if (QAbstractScrollArea* list = scrollAreaAround(field)) {
            const auto* wheel = static_cast<QWheelEvent*>(event);
            QWidget* viewport = list->viewport();
            const QPointF position = viewport->mapFromGlobal(wheel->globalPosition().toPoint());
            QWheelEvent forwarded(position, wheel->globalPosition(), wheel->pixelDelta(), wheel->angleDelta(),
                                  wheel->buttons(), wheel->modifiers(), wheel->phase(), wheel->inverted(),
                                  wheel->source());
            QCoreApplication::sendEvent(viewport, &forwarded);
        }
        return true;
    }

private:
    static QAbstractScrollArea* scrollAreaAround(QWidget* field)
    {
        for (QWidget* up = field->parentWidget(); up; up = up->parentWidget()) {
            if (auto* area = qobject_cast<QAbstractScrollArea*>(up))
                return area;
        }
        return nullptr;
    }
};

bool insideScrollArea(const QWidget* field, const QWidget* window)
{
    for (const QWidget* up = field->parentWidget(); up && up != window; up = up->parentWidget()) {
        if (qobject_cast<const QAbstractScrollArea*>(up))
            return true;
    }
    return false;
}

} // namespace

namespace WheelGuard {

void guard(QWidget* field)
{
    // A wheel turn must not give the field the focus that lets it take the wheel.
    field->setFocusPolicy(Qt::StrongFocus);
    field->installEventFilter(WheelFilter::instance());
}

void guardScrolledFields(QWidget* window)
{
    for (QWidget* field : window->findChildren<QWidget*>()) {
        if ((qobject_cast<QComboBox*>(field) || qobject_cast<QAbstractSpinBox*>(field)) &&
            insideScrollArea(field, window))
            guard(field);
    }
}

} // namespace WheelGuard

#include "controls/SuggerimentoFuoco.h"

#include <QFocusEvent>
#include <QTimer>
#include <QToolTip>
#include <QWidget>

namespace {

class TSuggerimentoFuoco : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() != QEvent::FocusIn) return QObject::eventFilter(watched, event);
        auto* controllo = static_cast<QWidget*>(watched);
        switch (static_cast<QFocusEvent*>(event)->reason()) {
        case Qt::TabFocusReason:
        case Qt::BacktabFocusReason:
        case Qt::ShortcutFocusReason:
            // once the focus change is over: its own focus events would hide a hint shown now
            QTimer::singleShot(0, controllo, [controllo] {
                // below the control, where the pointer's hint would not cover it
                if (controllo->hasFocus())
                    QToolTip::showText(controllo->mapToGlobal(QPoint(0, controllo->height())), controllo->toolTip(), controllo);
            });
            break;
        default:
            break;
        }
        return QObject::eventFilter(watched, event);
    }
};

}  // namespace

void MostraSuggerimentoAlFuoco(QWidget* controllo) { controllo->installEventFilter(new TSuggerimentoFuoco(controllo)); }

#include "MyFlatHintUnit.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QElapsedTimer>
#include <QHash>
#include <QHelpEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>
#include <QTimer>
#include <algorithm>
#include <array>
#include <memory>
#include <vector>

namespace {

constexpr int FrameAndColumn = 22; // 1 + 14 + 1 pixels of frame and column, 3 + 3 of text margin
constexpr int ColumnWidth = 14;

// The arrow as a polyline in a corner-relative frame: x grows away from the pointer's side,
// y likewise; the first point is the arrow head's tip.
constexpr std::array<QPoint, 18> ArrowShape = {{{0, 0},
                                                {0, 6},
                                                {1, 6},
                                                {1, 0},
                                                {6, 0},
                                                {6, 1},
                                                {2, 1},
                                                {2, 4},
                                                {5, 7},
                                                {6, 7},
                                                {3, 4},
                                                {3, 3},
                                                {6, 6},
                                                {7, 6},
                                                {3, 2},
                                                {4, 2},
                                                {7, 5},
                                                {7, 6}}};

// Plots every pixel of the polyline, end points included, exactly (the segments are horizontal,
// vertical or diagonal, which a pixel walk reproduces without any rasteriser's rounding).
void PixelPolyline(QPainter& p, const QPoint* points, int count, const QColor& color) {
    for (int i = 0; i + 1 < count; ++i) {
        const QPoint a = points[i];
        const QPoint b = points[i + 1];
        const int steps = std::max(std::abs(b.x() - a.x()), std::abs(b.y() - a.y()));
        for (int s = 0; s <= steps; ++s) {
            const int x = steps ? a.x() + (b.x() - a.x()) * s / steps : a.x();
            const int y = steps ? a.y() + (b.y() - a.y()) * s / steps : a.y();
            p.fillRect(QRect(x, y, 1, 1), color);
        }
    }
}

bool RightOfPointer(THintQuadrant q) {
    return q == hqTopLeft || q == hqBottomLeft;
}
bool TopQuadrant(THintQuadrant q) {
    return q == hqTopLeft || q == hqTopRight;
}

struct TProviderEntry {
    THintProvider Provider;
    QMetaObject::Connection Watch;
};

QHash<const QWidget*, TProviderEntry>& Providers() {
    static QHash<const QWidget*, TProviderEntry> providers;
    return providers;
}

} // namespace

// ---------------------------------------------------------------------------------------------
// The application's hint service: it exists while at least one TMyFlatHint exists, watches the
// pointer over every widget through an application-wide event filter, keeps the hint timing and
// owns the one hint window.

class THintService : public QObject {
public:
    THintService() {
        showTimer_.setSingleShot(true);
        hideTimer_.setSingleShot(true);
        connect(&showTimer_, &QTimer::timeout, this, &THintService::ShowHintNow);
        connect(&hideTimer_, &QTimer::timeout, this, [this] { window_->ReleaseHandle(); });
        qApp->installEventFilter(this);
    }
    ~THintService() override { qApp->removeEventFilter(this); }

    static THintService* Instance() { return instance_; }
    static std::vector<TMyFlatHint*>& Components() {
        static std::vector<TMyFlatHint*> components;
        return components;
    }

    static void AddComponent(TMyFlatHint* c) {
        Components().push_back(c);
        if (!instance_)
            instance_ = new THintService;
        // The application re-creates its hint window with the flat class.
        instance_->window_ = std::make_unique<TMyFlatHintWindow>();
    }
    static void RemoveComponent(TMyFlatHint* c) {
        auto& list = Components();
        list.erase(std::remove(list.begin(), list.end(), c), list.end());
        if (!instance_)
            return;
        if (list.empty()) {
            delete instance_;
            instance_ = nullptr;
        } else if (instance_->window_->Supplier() == c || !instance_->window_->Supplier()) {
            instance_->window_->ReleaseHandle();
        }
    }

    TMyFlatHintWindow* Window() const { return window_.get(); }

    void Cancel() {
        showTimer_.stop();
        hideTimer_.stop();
        window_->ReleaseHandle();
    }

    int pause = 500;
    int shortPause = 25;
    int hidePause = 5000;

protected:
    bool eventFilter(QObject* obj, QEvent* e) override {
        switch (e->type()) {
        case QEvent::ToolTip:
            return true; // no standard tooltip, ever
        case QEvent::Show:
            // A widget that calls QToolTip::showText itself would still open the standard tooltip.
            if (obj->inherits("QTipLabel"))
                QMetaObject::invokeMethod(obj, "hide", Qt::QueuedConnection);
            break;
        case QEvent::MouseMove:
            if (obj->isWidgetType()) {
                auto* me = static_cast<QMouseEvent*>(e);
                if (me->buttons() == Qt::NoButton)
                    PointerMoved(static_cast<QWidget*>(obj), me->globalPosition().toPoint(), me->timestamp());
            }
            break;
        case QEvent::Leave:
            if (obj == hintControl_.data())
                PointerLeft();
            break;
        case QEvent::Hide:
            if (obj == hintControl_.data()) {
                Cancel();
                hintControl_ = nullptr;
            }
            break;
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonDblClick:
        case QEvent::KeyPress:
        case QEvent::Wheel:
            if (obj->isWidgetType())
                Cancel();
            break;
        case QEvent::ApplicationDeactivate:
            Cancel();
            hintControl_ = nullptr;
            break;
        default:
            break;
        }
        return false;
    }

private:
    void PointerMoved(QWidget* w, const QPoint& global, quint64 timestamp) {
        if (w->window() == window_.get())
            return;
        // A move that a child ignored reaches its parents as well; the deepest widget counts.
        if (timestamp == lastTimestamp_ && global == lastGlobal_ && hintControl_ &&
            w->isAncestorOf(hintControl_))
            return;
        lastTimestamp_ = timestamp;
        lastGlobal_ = global;
        if (w == hintControl_.data() && cursorRect_.contains(w->mapFromGlobal(global)))
            return;
        const bool movingOn =
            window_->isVisible() || (leftShownHint_.isValid() && leftShownHint_.elapsed() < pause);
        window_->ReleaseHandle();
        hideTimer_.stop();
        leftShownHint_.invalidate();
        hintControl_ = w;
        cursorRect_ = w->rect();
        showTimer_.start(movingOn ? shortPause : pause);
    }

    void PointerLeft() {
        if (window_->isVisible())
            leftShownHint_.start();
        Cancel();
        hintControl_ = nullptr;
    }

    void ShowHintNow() {
        QWidget* control = hintControl_.data();
        if (!control || !control->isVisible())
            return;
        THintInfo info;
        info.HintControl = control;
        info.CursorPos = control->mapFromGlobal(lastGlobal_);
        info.HintPos = lastGlobal_;
        QString text = TMyFlatHint::HintOf(control, info.CursorPos, &info.CursorRect);
        cursorRect_ = info.CursorRect;
        if (text.isEmpty())
            return;
        bool canShow = true;
        if (!Components().empty()) {
            // The most recently created component has taken over the show-hint notification.
            TMyFlatHint* receiver = Components().back();
            if (receiver->OnShowHint) {
                try {
                    receiver->OnShowHint(text, canShow, info);
                } catch (...) {
                    canShow = false;
                }
            }
        }
        if (!canShow || text.isEmpty() || !info.HintControl)
            return;
        cursorRect_ = info.CursorRect;
        window_->ActivateHint(info.HintPos, text, info.HintControl->layoutDirection());
        if (window_->isVisible())
            hideTimer_.start(hidePause);
    }

    static inline THintService* instance_ = nullptr;
    std::unique_ptr<TMyFlatHintWindow> window_;
    QTimer showTimer_;
    QTimer hideTimer_;
    QPointer<QWidget> hintControl_;
    QRect cursorRect_;
    QPoint lastGlobal_;
    quint64 lastTimestamp_ = 0;
    QElapsedTimer leftShownHint_;
};

// ---------------------------------------------------------------------------------------------
// TMyFlatHint

TMyFlatHint::TMyFlatHint(QObject* owner) : QObject(owner), font_(QApplication::font()) {
    THintService::AddComponent(this);
    SetHintTiming(500, 25, 5000);
}

TMyFlatHint::~TMyFlatHint() {
    THintService::RemoveComponent(this);
}

TMyFlatHintWindow* TMyFlatHint::HintWindow() {
    return THintService::Instance() ? THintService::Instance()->Window() : nullptr;
}

void TMyFlatHint::SetHintTiming(int hintPause, int hintShortPause, int hintHidePause) {
    if (THintService* s = THintService::Instance()) {
        s->pause = hintPause;
        s->shortPause = hintShortPause;
        s->hidePause = hintHidePause;
    }
}

int TMyFlatHint::HintPause() {
    return THintService::Instance() ? THintService::Instance()->pause : 0;
}
int TMyFlatHint::HintShortPause() {
    return THintService::Instance() ? THintService::Instance()->shortPause : 0;
}
int TMyFlatHint::HintHidePause() {
    return THintService::Instance() ? THintService::Instance()->hidePause : 0;
}

void TMyFlatHint::CancelHint() {
    if (THintService* s = THintService::Instance())
        s->Cancel();
}

void TMyFlatHint::SetHintProvider(QWidget* widget, THintProvider provider) {
    if (!widget)
        return;
    auto& providers = Providers();
    auto it = providers.find(widget);
    if (it != providers.end()) {
        QObject::disconnect(it->Watch);
        providers.erase(it);
    }
    if (!provider)
        return;
    const QWidget* key = widget;
    TProviderEntry entry;
    entry.Provider = std::move(provider);
    entry.Watch = QObject::connect(widget, &QObject::destroyed, [key] { Providers().remove(key); });
    providers.insert(key, std::move(entry));
}

QString TMyFlatHint::HintOf(QWidget* widget, const QPoint& pos, QRect* area) {
    QRect found = widget ? widget->rect() : QRect();
    QString text;
    for (QWidget* w = widget; w; w = w->parentWidget()) {
        const QPoint p = widget->mapTo(w, pos); // w is widget or one of its ancestors
        const QPoint offset = widget->mapFrom(w, QPoint(0, 0));
        auto provider = Providers().constFind(w);
        if (provider != Providers().constEnd()) {
            QRect a = w->rect();
            text = provider->Provider(p, a);
            found = a.translated(offset);
            break;
        }
        auto* view = qobject_cast<QAbstractItemView*>(w->parentWidget());
        if (view && view->viewport() == w) {
            const QModelIndex index = view->indexAt(p);
            if (index.isValid()) {
                found = view->visualRect(index).translated(offset);
                text = index.data(Qt::ToolTipRole).toString();
                if (!text.isEmpty())
                    break;
            } else {
                // Outside any row: ask again as soon as the pointer moves.
                found = QRect(pos, QSize(1, 1));
            }
        }
        if (!w->toolTip().isEmpty()) {
            text = w->toolTip();
            if (found == widget->rect())
                found = w->rect().translated(offset);
            break;
        }
        if (w->isWindow())
            break;
    }
    if (area)
        *area = found;
    return text;
}

// ---------------------------------------------------------------------------------------------
// TMyFlatHintWindow

TMyFlatHintWindow::TMyFlatHintWindow()
    : QWidget(nullptr, Qt::ToolTip | Qt::FramelessWindowHint | Qt::WindowTransparentForInput |
                           Qt::WindowDoesNotAcceptFocus) {
    setAttribute(Qt::WA_ShowWithoutActivating);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFocusPolicy(Qt::NoFocus);
}

TMyFlatHint* TMyFlatHintWindow::FindSupplier() {
    // The first component created on a form supplies the look.
    for (TMyFlatHint* c : THintService::Components())
        if (qobject_cast<QWidget*>(c->parent()))
            return c;
    return nullptr;
}

void TMyFlatHintWindow::ActivateHint(const QPoint& cursor, const QString& text,
                                     Qt::LayoutDirection direction) {
    text_ = text;
    supplier_ = FindSupplier();
    if (!supplier_) {
        hide();
        return;
    }
    direction_ = direction;
    setFont(supplier_->Font());
    const QSize size = CalcHintSize(text, supplier_->Font(), supplier_->MaxHintWidth(), direction);
    QScreen* screen = QGuiApplication::screenAt(cursor);
    if (!screen)
        screen = QGuiApplication::primaryScreen();
    quadrant_ = QuadrantOf(cursor, screen ? screen->geometry() : QRect(0, 0, 1, 1));
    anchor_ = ArrowAnchorOf(ArrowColumn(size, quadrant_), quadrant_);
    setGeometry(QRect(PlaceHint(cursor, size, quadrant_), size));
    show();
    update();
}

void TMyFlatHintWindow::ReleaseHandle() {
    hide();
}

QSize TMyFlatHintWindow::CalcHintSize(const QString& text, const QFont& font, int maxHintWidth,
                                      Qt::LayoutDirection direction) {
    const QFontMetrics fm(font);
    const int align = Qt::AlignAbsolute | (direction == Qt::RightToLeft ? Qt::AlignRight : Qt::AlignLeft);
    const QRect r = fm.boundingRect(QRect(0, 0, std::max(1, maxHintWidth - FrameAndColumn), 0),
                                    Qt::TextWordWrap | align, text);
    return {r.width() + FrameAndColumn, r.height() + 6};
}

THintQuadrant TMyFlatHintWindow::QuadrantOf(const QPoint& cursor, const QRect& screen) {
    const int midX = screen.left() + screen.width() / 2;
    const int midY = screen.top() + screen.height() / 2;
    const bool left = cursor.x() < midX;
    const bool top = cursor.y() < midY;
    if (top && left)
        return hqTopLeft;
    if (top)
        return hqTopRight;
    if (left)
        return hqBottomLeft;
    return hqBottomRight;
}

QPoint TMyFlatHintWindow::PlaceHint(const QPoint& cursor, const QSize& size, THintQuadrant quadrant) {
    const int gap = quadrant == hqTopLeft ? 12 : 5;
    const int x = RightOfPointer(quadrant) ? cursor.x() + gap : cursor.x() - size.width() - gap;
    const int y = TopQuadrant(quadrant) ? cursor.y() + gap : cursor.y() - size.height() - gap;
    return {x, y};
}

QRect TMyFlatHintWindow::ArrowColumn(const QSize& client, THintQuadrant quadrant) {
    const int left = RightOfPointer(quadrant) ? 1 : client.width() - 15;
    return {left, 1, ColumnWidth, client.height() - 2};
}

QPoint TMyFlatHintWindow::ArrowAnchorOf(const QRect& column, THintQuadrant quadrant) {
    const int right = column.left() + column.width(); // exclusive edges, as the column is given
    const int bottom = column.top() + column.height();
    const int x = RightOfPointer(quadrant) ? column.left() + 2 : right - 3;
    const int y = TopQuadrant(quadrant) ? column.top() + 2 : bottom - 3;
    return {x, y};
}

void TMyFlatHintWindow::PaintHint(QPainter& p, const QSize& client, THintQuadrant quadrant,
                                  const QString& text, const TMyFlatHint& look,
                                  Qt::LayoutDirection direction) {
    const int w = client.width();
    const int h = client.height();
    const QRect column = ArrowColumn(client, quadrant);
    const QRect textArea =
        RightOfPointer(quadrant) ? QRect(15, 1, w - 16, h - 2) : QRect(1, 1, w - 16, h - 2);

    p.fillRect(column, TColorToQColor(look.ColorArrowBackground()));
    p.fillRect(textArea, TColorToQColor(look.ColorBackground()));
    const QColor border = TColorToQColor(look.ColorBorder());
    p.fillRect(QRect(0, 0, w, 1), border);
    p.fillRect(QRect(0, h - 1, w, 1), border);
    p.fillRect(QRect(0, 0, 1, h), border);
    p.fillRect(QRect(w - 1, 0, 1, h), border);

    const QPoint anchor = ArrowAnchorOf(column, quadrant);
    const int sx = RightOfPointer(quadrant) ? 1 : -1;
    const int sy = TopQuadrant(quadrant) ? 1 : -1;
    std::array<QPoint, ArrowShape.size()> points;
    for (size_t i = 0; i < ArrowShape.size(); ++i)
        points[i] = anchor + QPoint(sx * ArrowShape[i].x(), sy * ArrowShape[i].y());
    PixelPolyline(p, points.data(), int(points.size()), TColorToQColor(look.ColorArrow()));

    const QRect textRect = textArea.adjusted(3, 1, -3, -1);
    p.setFont(look.Font());
    p.setPen(TColorToQColor(look.FontColor()));
    p.setLayoutDirection(direction);
    const int align = Qt::AlignAbsolute | (direction == Qt::RightToLeft ? Qt::AlignRight : Qt::AlignLeft);
    p.drawText(textRect, Qt::TextWordWrap | Qt::AlignTop | align, text);
}

void TMyFlatHintWindow::paintEvent(QPaintEvent*) {
    QPainter p(this);
    if (supplier_)
        PaintHint(p, size(), quadrant_, text_, *supplier_, direction_);
}

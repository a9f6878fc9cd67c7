#include "gallery.h"

#include <QLabel>
#include <QVBoxLayout>

QLabel* GalleryHeading(const QString& text, QWidget* parent) {
    auto* l = new QLabel(text, parent);
    QFont f = l->font();
    f.setBold(true);
    l->setFont(f);
    return l;
}

QWidget* GalleryCell(QWidget* control, const QString& note, QWidget* parent, bool keepSize) {
    auto* cell = new QWidget(parent);
    auto* v = new QVBoxLayout(cell);
    v->setContentsMargins(0, 0, 0, 0);
    v->setSpacing(3);
    control->setParent(cell);
    if (keepSize)
        control->setFixedSize(control->size());
    v->addWidget(control, 0, Qt::AlignLeft);
    auto* l = new QLabel(note, cell);
    l->setStyleSheet(QStringLiteral("color: #666"));
    v->addWidget(l, 0, Qt::AlignLeft);
    v->addStretch();
    return cell;
}

#pragma once

#include <QWidget>

class QLabel;

// Each section shows one set of painted controls in all of their states.
QWidget* gallerySectionOne(QWidget* parent); // image button, push button, line panel, list box, progress bar
QWidget* gallerySectionTwo(QWidget* parent); // flat edit, flat combo box, hint window, popup menu

// Layout pieces both sections use.
// A bold heading over a group of controls.
QLabel* GalleryHeading(const QString& text, QWidget* parent);
// A control with a grey note under it; keepSize pins the control at its current size.
QWidget* GalleryCell(QWidget* control, const QString& note, QWidget* parent, bool keepSize);

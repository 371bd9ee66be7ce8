// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "flash/FlashExtract.h"

#include <QDialog>

class QLabel;
class QListWidget;
class QPlainTextEdit;
class QPushButton;

namespace tessel {

class ScreenView;

// File > Image Contents...: what an image holds, written nowhere: its ten
// menu names in menu order, each with its loading screen (small beside the
// name, large for the one selected), and the warnings about bytes the
// tables cover. Take Apart hands the image to Open Flash Image's second half.
class ImageContentsWindow final : public QDialog
{
    Q_OBJECT

public:
    ImageContentsWindow(const QString& image, const FlashContents& contents,
                        QWidget* parent = nullptr);

    QString image() const { return m_image; }
    const FlashContents& contents() const { return m_contents; }
    QListWidget* entryList() const { return m_entries; }
    ScreenView* screenView() const { return m_screen; }
    QPlainTextEdit* warningView() const { return m_warnings; }

signals:
    void takeApartRequested();

private:
    void showEntry(int row);

    QString m_image;
    FlashContents m_contents;
    QListWidget* m_entries = nullptr;
    ScreenView* m_screen = nullptr;
    QLabel* m_name = nullptr;
    QPlainTextEdit* m_warnings = nullptr;
};

} // namespace tessel

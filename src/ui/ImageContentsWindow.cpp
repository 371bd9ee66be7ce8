// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/ImageContentsWindow.h"

#include "core/Errors.h"
#include "screens/ScreenImage.h"
#include "ui/ScreenPreview.h"

#include <QDialogButtonBox>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

namespace tessel {

namespace {

// The screens in the list: a quarter of their size, enough to tell them apart.
constexpr QSize kThumbnail(kScreenWidth / 4, kScreenHeight / 4);
// Below this much room the selected screen is shown at its own size.
constexpr int kRoomForTwice = 720;

} // namespace

ImageContentsWindow::ImageContentsWindow(const QString& image, const FlashContents& contents,
                                         QWidget* parent)
    : QDialog(parent)
    , m_image(image)
    , m_contents(contents)
{
    setObjectName(QStringLiteral("frmImageContents"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(tr("Image Contents: %1").arg(QFileInfo(image).fileName()));

    auto* path = new QLabel(
        tr("The flash image %1 holds these ten snapshots, in menu order.").arg(quotedPath(image)),
        this);
    path->setTextFormat(Qt::PlainText);
    path->setWordWrap(true);
    path->setTextInteractionFlags(Qt::TextSelectableByMouse);

    m_entries = new QListWidget(this);
    m_entries->setObjectName(QStringLiteral("lstImageEntries"));
    m_entries->setAccessibleName(tr("Menu names"));
    m_entries->setIconSize(kThumbnail);
    m_entries->setUniformItemSizes(true);
    for (int i = 0; i < m_contents.entries.size(); ++i) {
        const ExtractedEntry& entry = m_contents.entries.at(i);
        auto* item = new QListWidgetItem(tr("%1. %2").arg(i + 1).arg(entry.name), m_entries);
        if (const std::optional<LoadingScreen> screen = loadingScreenFromSna(entry.sna))
            item->setIcon(QPixmap::fromImage(
                screen->image.scaled(kThumbnail, Qt::KeepAspectRatio, Qt::SmoothTransformation)));
    }
    m_entries->setMinimumWidth(kThumbnail.width() + fontMetrics().averageCharWidth() * 28);

    const QScreen* display = screen();
    const bool twice = display && display->availableGeometry().height() >= kRoomForTwice;
    // Where there is room, all ten at once.
    if (twice)
        m_entries->setMinimumHeight(m_entries->sizeHintForRow(0) * kEntryCount
                                    + 2 * m_entries->frameWidth());
    auto* frame = new QFrame(this);
    frameLikePreview(*frame);
    m_screen = new ScreenView(twice ? 2 : 1, frame);
    m_screen->setObjectName(QStringLiteral("picImageEntry"));
    m_name = new QLabel(frame);
    m_name->setTextFormat(Qt::PlainText);
    m_name->setAlignment(Qt::AlignHCenter);
    auto* framed = new QVBoxLayout(frame);
    framed->setContentsMargins(4, 4, 4, 4);
    framed->addWidget(m_screen, 0, Qt::AlignHCenter);
    framed->addWidget(m_name);

    m_warnings = new QPlainTextEdit(this);
    m_warnings->setObjectName(QStringLiteral("txtImageWarnings"));
    m_warnings->setAccessibleName(tr("What the image could not keep"));
    m_warnings->setReadOnly(true);
    m_warnings->setPlainText(m_contents.warnings.join(QLatin1Char('\n')));
    m_warnings->setMaximumHeight(fontMetrics().lineSpacing() * 5);
    m_warnings->setVisible(!m_contents.warnings.isEmpty());

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    QPushButton* takeApart = buttons->addButton(tr("&Take Apart..."), QDialogButtonBox::ActionRole);
    takeApart->setObjectName(QStringLiteral("cmdTakeApart"));
    takeApart->setToolTip(tr("Write the ten snapshots and their compilation into a folder, and "
                             "list them."));
    buttons->button(QDialogButtonBox::Close)->setObjectName(QStringLiteral("cmdClose"));
    connect(takeApart, &QPushButton::clicked, this, &ImageContentsWindow::takeApartRequested);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* top = new QHBoxLayout;
    top->addWidget(m_entries, 1);
    top->addWidget(frame, 0, Qt::AlignTop);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(path);
    layout->addLayout(top);
    layout->addWidget(m_warnings);
    layout->addWidget(buttons);

    connect(m_entries, &QListWidget::currentRowChanged, this, &ImageContentsWindow::showEntry);
    m_entries->setCurrentRow(0);
    m_entries->setFocus();
}

void ImageContentsWindow::showEntry(int row)
{
    if (row < 0 || row >= m_contents.entries.size())
        return;
    const ExtractedEntry& entry = m_contents.entries.at(row);
    m_screen->setScreen(loadingScreenFromSna(entry.sna));
    m_screen->setAccessibleName(tr("%1 loading screen").arg(entry.name));
    m_name->setText(entry.name);
}

} // namespace tessel

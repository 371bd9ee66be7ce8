// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/NamingDialog.h"

#include "core/ZxCharset.h"
#include "screens/ScreenCache.h"
#include "ui/ScreenPreview.h"

#include <QDialogButtonBox>
#include <QFileInfo>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QStyle>
#include <QVBoxLayout>

namespace tessel {

namespace {

// An invisible break opportunity for the line breaker.
constexpr QChar kBreak(0x200B);
// The longest run without a break; shorter than the narrowest text column.
constexpr int kLongestRun = 24;
// The text column's width in average characters, where the screen allows.
constexpr int kColumnCharacters = 50;
constexpr int kNarrowestColumn = 240;

bool allowsBreak(QChar c)
{
    return c.isSpace() || c == kBreak;
}

} // namespace

QString breakableText(const QString& text)
{
    QString result;
    result.reserve(text.size() + text.size() / 8);
    int run = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        result.append(c);
        run = allowsBreak(c) ? 0 : run + 1;
        // Never between the halves of a surrogate pair.
        if (c.isHighSurrogate() && i + 1 < text.size())
            continue;
        if (c == QLatin1Char('/') || c == QLatin1Char('\\') || run >= kLongestRun) {
            result.append(kBreak);
            run = 0;
        }
    }
    return result;
}

NamingDialog::NamingDialog(const QString& title, const QString& prompt, const QString& name,
                           const QString& note, Buttons buttons, QWidget* parent)
    : QDialog(parent)
{
    setWindowTitle(title);

    const QScreen* display = parent ? parent->screen() : QGuiApplication::primaryScreen();
    const QRect room = display ? display->availableGeometry() : QRect(0, 0, 800, 600);

    // Shown once there is a snapshot to show, framed as the pop-ups are.
    m_screenFrame = new QFrame(this);
    frameLikePreview(*m_screenFrame);
    m_screen = new ScreenView(1, m_screenFrame);
    auto* framed = new QVBoxLayout(m_screenFrame);
    framed->setContentsMargins(4, 4, 4, 4);
    framed->addWidget(m_screen);
    m_screenFrame->hide();

    m_prompt = new QLabel(this);
    m_prompt->setTextFormat(Qt::PlainText);
    m_prompt->setWordWrap(true);
    m_prompt->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    m_prompt->setText(breakableText(prompt));
    m_prompt->setAccessibleName(prompt);

    m_field = new QLineEdit(name, this);
    m_field->selectAll();
    m_prompt->setBuddy(m_field);

    m_hint = new QLabel(this);
    m_hint->setTextFormat(Qt::PlainText);
    m_hint->setWordWrap(false);
    // Always one line tall, so the box keeps its size as the hint comes and goes.
    m_hint->setFixedHeight(m_hint->fontMetrics().height());

    // Under the hint, what the user should know before naming the snapshot.
    m_note = new QLabel(note, this);
    m_note->setTextFormat(Qt::PlainText);
    m_note->setWordWrap(true);
    m_note->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    m_note->setVisible(!note.isEmpty());

    m_buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    connect(m_buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    const auto answerWith = [this](QAbstractButton* button, Answer answer) {
        connect(button, &QAbstractButton::clicked, this, [this, answer] {
            m_answer = answer;
            reject();
        });
    };
    if (buttons == Buttons::OkSkipStop) {
        QPushButton* skip = m_buttons->addButton(tr("&Skip"), QDialogButtonBox::ActionRole);
        skip->setObjectName(QStringLiteral("skip"));
        skip->setToolTip(tr("Leave this file out and go on with the next."));
        answerWith(skip, Answer::Skip);
        QPushButton* stop = m_buttons->addButton(tr("S&top"), QDialogButtonBox::RejectRole);
        stop->setObjectName(QStringLiteral("stop"));
        stop->setToolTip(tr("Leave this file and the rest out."));
        answerWith(stop, Answer::Stop);
        m_answer = Answer::Stop;
    } else {
        answerWith(m_buttons->addButton(QDialogButtonBox::Cancel), Answer::Cancel);
    }

    // The text column: a comfortable width, less where the screen is narrow;
    // the picture goes first when both do not fit.
    const int margins = 2 * style()->pixelMetric(QStyle::PM_LayoutLeftMargin) + 24;
    const int wanted = fontMetrics().averageCharWidth() * kColumnCharacters;
    int column = std::min(wanted, room.width() - margins - m_screenFrame->sizeHint().width());
    m_roomForScreen = column >= kNarrowestColumn;
    if (!m_roomForScreen)
        column = std::min(wanted, room.width() - margins);

    // A prompt taller than a third of the screen scrolls rather than pushing
    // the buttons off it.
    m_promptArea = new QScrollArea(this);
    m_promptArea->setFrameShape(QFrame::NoFrame);
    m_promptArea->setWidgetResizable(true);
    m_promptArea->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_promptArea->setWidget(m_prompt);
    m_promptArea->viewport()->setAutoFillBackground(false);
    m_prompt->setAutoFillBackground(false);
    m_prompt->ensurePolished();
    const int promptHeight = m_prompt->heightForWidth(column);
    const int promptRoom = room.height() / 3;
    if (promptHeight > promptRoom) {
        m_promptArea->setFixedSize(column, promptRoom);
    } else {
        m_promptArea->setFixedSize(column, promptHeight);
        m_promptArea->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    }
    m_field->setFixedWidth(column);
    m_hint->setFixedWidth(column);
    m_note->setFixedWidth(column);
    if (!note.isEmpty()) {
        m_note->ensurePolished();
        m_note->setFixedHeight(m_note->heightForWidth(column));
    }

    auto* text = new QVBoxLayout;
    text->addWidget(m_promptArea);
    text->addWidget(m_field);
    text->addWidget(m_hint);
    text->addWidget(m_note);
    text->addStretch();

    auto* top = new QHBoxLayout;
    top->addWidget(m_screenFrame, 0, Qt::AlignTop);
    top->addLayout(text);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(m_buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    connect(m_field, &QLineEdit::textChanged, this, &NamingDialog::updateHint);
    updateHint();
    m_field->setFocus();
}

void NamingDialog::showScreenOf(ScreenCache& cache, const QString& snapshotPath)
{
    m_snapshotPath = snapshotPath;
    m_screen->setAccessibleName(tr("%1 loading screen").arg(QFileInfo(snapshotPath).fileName()));
    m_screen->setScreen(cache.cached(snapshotPath));
    m_screenFrame->setVisible(m_roomForScreen);
    disconnect(&cache, nullptr, this, nullptr);
    connect(&cache, &ScreenCache::ready, this, [this, &cache](const QString& path) {
        if (path == m_snapshotPath)
            m_screen->setScreen(cache.cached(path));
    });
    connect(&cache, &ScreenCache::unavailable, this, [this](const QString& path) {
        if (path == m_snapshotPath)
            m_screen->setScreen(std::nullopt);
    });
    cache.request(snapshotPath);
}

QString NamingDialog::name() const
{
    return m_field->text();
}

void NamingDialog::updateHint()
{
    const QString hint = charsetHint(m_field->text());
    m_hint->setText(m_hint->fontMetrics().elidedText(hint, Qt::ElideRight, m_hint->width()));
    m_hint->setToolTip(hint);
    m_hint->setAccessibleName(hint);
}

} // namespace tessel

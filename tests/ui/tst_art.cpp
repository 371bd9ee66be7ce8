// SPDX-License-Identifier: GPL-3.0-or-later
// The board icon decodes its files in the background and takes each only
// when a size asks for it; decoded ahead or not, it must give what an icon
// made of all three files gives.
#include "core/Background.h"
#include "ui/Art.h"

#include <QApplication>
#include <QTest>

using namespace tessel;

class TestArt : public QObject
{
    Q_OBJECT

private slots:
    void boardIconDrawsAsAllFilesWould();
};

void TestArt::boardIconDrawsAsAllFilesWould()
{
    QIcon reference;
    const QIcon decodedAhead = boardIcon(); // makes the pictures' resource known
    for (const int side : {48, 96, 256})
        reference.addFile(QStringLiteral(":/art/board-%1.png").arg(side));
    backgroundPool().waitForDone();
    for (const QIcon& board : {decodedAhead, boardIcon()}) {
        QVERIFY(!board.isNull());
        QCOMPARE(board.availableSizes(), reference.availableSizes());
        QCOMPARE(board.availableSizes(QIcon::Disabled), reference.availableSizes(QIcon::Disabled));
        for (const QIcon::Mode mode :
             {QIcon::Normal, QIcon::Disabled, QIcon::Active, QIcon::Selected}) {
            for (const QSize size : {QSize(16, 16), QSize(32, 32), QSize(48, 48), QSize(60, 40),
                                     QSize(97, 97), QSize(256, 256), QSize(300, 300)}) {
                for (const qreal ratio : {1.0, 2.0}) {
                    const QString what = QStringLiteral("mode %1, %2x%3 at %4")
                                             .arg(mode)
                                             .arg(size.width())
                                             .arg(size.height())
                                             .arg(ratio);
                    const QImage ours = board.pixmap(size, ratio, mode).toImage();
                    QVERIFY2(!ours.isNull(), qPrintable(what));
                    QVERIFY2(ours == reference.pixmap(size, ratio, mode).toImage(),
                             qPrintable(what));
                }
                QCOMPARE(board.actualSize(size, mode), reference.actualSize(size, mode));
            }
        }
    }
}

QTEST_MAIN(TestArt)
#include "tst_art.moc"

#pragma once
// Drives a page and the shared number keypad as a user does (the keypad
// from inside the nested loop that a page's number field runs it in),
// makes changes as the PC does, and checks that a page's texts fit.
#include "testsupport.h"

#include "core/devicepath.h"
#include "core/global.h"
#include "core/para_write.h"
#include "core/ramblock.h"
#include "core/rynrampara.h"
#include "scaler/c331_manage.h"
#include "ui/frame/keys.h"
#include "ui/frame/numberkeyboard.h"

#include <QAbstractButton>
#include <QDir>
#include <QFileInfo>
#include <QHash>
#include <QLabel>
#include <QLineEdit>
#include <QTextDocument>
#include <QtTest>
#include <algorithm>
#include <functional>

namespace keypad {
// The keypad's keys in focus order: the digits 1..9 and 0, 'C' clear, 'X'
// delete the last character, 'N' Cancel, 'K' OK.
const QString KEYS = QStringLiteral("1234567890CXNK");
const int KEY_OK = KEYS.indexOf('K');

// Types `seq`, keys as above or 'B' the Back key. Each key is reached with
// Right from where the focus was left, as the panel keys do.
inline void type(const QString& seq) {
    NumberKeyboard* kb = g_numberkeyboard;
    for (const QChar c : seq) {
        if (c == 'B') {
            testsupport::key(PANEL_KEY_BACK, kb);
            continue;
        }
        for (int i = 0; i < KEYS.size() && kb->focused_index() != KEYS.indexOf(c); ++i)
            testsupport::key(PANEL_KEY_RIGHT, kb);
        testsupport::key(PANEL_KEY_OK, kb);
    }
}
}  // namespace keypad

// Keys to the page in front: "l" Left, "r" Right, "k" OK, "b" Back, "m"
// MODE; capitals are keypad letters.
inline void press(const QString& keys) {
    static const QHash<char, int> panel{{'l', PANEL_KEY_LEFT}, {'r', PANEL_KEY_RIGHT},
                                        {'k', PANEL_KEY_OK},   {'b', PANEL_KEY_BACK},
                                        {'m', PANEL_KEY_MODE}};
    for (QChar c : keys)
        testsupport::key(panel.value(c.toLatin1(), c.toLatin1()));
}

// OK on the focused number field, then `seq` typed on the keypad it opens.
inline void keypad_on_field(const QString& seq) {
    testsupport::post([seq] { keypad::type(seq); });
    press("k");
}

// A change from outside (the PC), taken up by the scaler: the page in front
// refreshes.
template <class F> void outside_change(F&& f) {
    para_write(f);
    c331_manage::pInstance()->apply_pass();
}

// One `_data()` row per language, in an int column "language".
inline void language_rows() {
    QTest::addColumn<int>("language");
    for (int l = 0; l < 5; ++l)
        QTest::newRow(qPrintable(QString("language %1").arg(l))) << l;
}

// The text a user reads on `w`, a label, button or field (false for others).
inline bool text_of(QWidget* w, QString* text) {
    if (auto* l = qobject_cast<QLabel*>(w))
        *text = l->text();
    else if (auto* b = qobject_cast<QAbstractButton*>(w))
        *text = b->text();
    else if (auto* e = qobject_cast<QLineEdit*>(w))
        *text = e->text();
    else
        return false;
    return true;
}

// The visible texts of `page` wider than their boxes, as "name: text (w > box)".
inline QStringList texts_that_overflow(QWidget* page) {
    QStringList out;
    QString text;
    for (QWidget* w : page->findChildren<QWidget*>()) {
        if (!w->isVisibleTo(page))
            continue;
        w->ensurePolished();
        if (!text_of(w, &text) || text.isEmpty())
            continue;
        qreal need = 0;
        int room = w->contentsRect().width();
        if (qobject_cast<QLabel*>(w) && Qt::mightBeRichText(text)) {
            QTextDocument doc;
            doc.setDefaultFont(w->font());
            doc.setDocumentMargin(0);
            doc.setHtml(text);
            need = doc.idealWidth();
            text = doc.toPlainText();
        } else {
            if (!qobject_cast<QLabel*>(w))
                room -= 2; // the border the styles give buttons and fields
            for (const QString& line : text.split('\n')) // buttons break their texts with "\n"
                need = std::max(need, qreal(w->fontMetrics().horizontalAdvance(line)));
        }
        if (need > room)
            out << QString("%1: %2 (%3 > %4)").arg(w->objectName(), text).arg(need).arg(room);
    }
    return out;
}

// "name: text" of every visible label, button and field of `page`, sorted:
// what a user reads on it, to compare a page re-texted in place with one
// opened in that language.
inline QStringList visible_texts(QWidget* page) {
    QStringList out;
    QString text;
    for (QWidget* w : page->findChildren<QWidget*>())
        if (w->isVisibleTo(page) && text_of(w, &text))
            out << w->objectName() + ": " + text;
    out.sort();
    return out;
}

// Fails the test with the texts of `page` that do not fit their boxes.
#define VERIFY_TEXTS_FIT(page)                                                                     \
    do {                                                                                           \
        const QStringList overflow_ = texts_that_overflow(page);                                   \
        QVERIFY2(overflow_.isEmpty(), qPrintable(overflow_.join("; ")));                           \
    } while (0)

// The crop table from "s.n" per record (source s, crop number n, x = the
// record index, w 100n x h 50n; "x" a free record), saved as the block's
// stored copy.
inline void set_crops(const QString& crops) {
    RynRamPara* p = RynRamPara::pInstance();
    uint8_t* b = p->RamParaBlock.data();
    std::fill(b + blk::CROP, b + blk::CROP + CROP_COUNT * blk::CROP_SIZE, 0);
    const QStringList recs = crops.split(' ', Qt::SkipEmptyParts);
    for (int i = 0; i < recs.size(); ++i) {
        if (recs[i] == "x")
            continue;
        const int s = recs[i].section('.', 0, 0).toInt(), n = recs[i].section('.', 1, 1).toInt();
        b[blk::crop(i)] = uint8_t(s);
        b[blk::crop(i) + blk::CROP_ID] = uint8_t(blk::CROP_USED | (n - 1));
        blk::wr16(b, blk::crop(i) + blk::CROP_X, uint16_t(i));
        blk::wr16(b, blk::crop(i) + blk::CROP_W, uint16_t(100 * n));
        blk::wr16(b, blk::crop(i) + blk::CROP_H, uint16_t(50 * n));
    }
    p->RamParaShadow = p->RamParaBlock;
    p->RynCropSourceInit();
}

// Writes a device file (its folder made first), as a PC transfer leaves it.
inline void write_device_file(const QString& device, const QByteArray& bytes) {
    QDir().mkpath(QFileInfo(device_path(device)).path());
    QVERIFY(testsupport::write_file(device, bytes));
}

// The PC changes the language while the page is in the state `keys` lead
// to; its texts must then be those of the page opened in that language in
// the same state, and fit, as must those of the state `more` leads to from
// there. `run_page` opens the page and runs its argument inside it.
inline void compare_retexted_with_opened(
    const std::function<void(const std::function<void()>&)>& run_page,
    const std::function<QWidget*()>& page, int language, const QString& keys,
    const QString& more = QString()) {
    QStringList changed, opened;
    run_page([&] {
        press(keys);
        outside_change(
            [language](RynRamPara& p) { p.set_u16(blk::LCD_LANGUAGE, uint16_t(language)); });
        changed = visible_texts(page());
    });
    QCOMPARE(int(g_language), language);
    run_page([&] {
        press(keys);
        opened = visible_texts(page());
        VERIFY_TEXTS_FIT(page());
        press(more);
        VERIFY_TEXTS_FIT(page());
    });
    QCOMPARE(changed, opened);
}

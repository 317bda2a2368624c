#pragma once
// Drives a page and the shared number keypad as a user does (the keypad
// from inside the nested loop that a page's number field runs it in),
// makes changes as the PC does, and checks that a page's texts fit.
#include "testsupport.h"

#include "core/global.h"
#include "core/para_write.h"
#include "scaler/c331_manage.h"
#include "ui/frame/keys.h"
#include "ui/frame/numberkeyboard.h"

#include <QAbstractButton>
#include <algorithm>
#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QStringList>
#include <QHash>
#include <QTextDocument>
#include <QtTest>

namespace keypad {
constexpr int KEY_ZERO = 9, KEY_C = 10, KEY_X = 11, KEY_CANCEL = 12, KEY_OK = 13, KEY_COUNT = 14;

inline void release(QWidget* w, int key) {
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
    QApplication::sendEvent(w, &press);
    QKeyEvent rel(QEvent::KeyRelease, key, Qt::NoModifier);
    QApplication::sendEvent(w, &rel);
}

// '0'..'9' a digit, 'C' clear, 'X' delete the last character, 'K' OK,
// 'N' Cancel, 'B' the Back key. Each key is reached with Right from where
// the focus was left, as the panel keys do.
inline void type(const QString& seq) {
    NumberKeyboard* kb = g_numberkeyboard;
    for (const QChar c : seq) {
        if (c == 'B') {
            release(kb, PANEL_KEY_BACK);
            continue;
        }
        const int index = c == 'C' ? KEY_C
                          : c == 'X' ? KEY_X
                          : c == 'K' ? KEY_OK
                          : c == 'N' ? KEY_CANCEL
                          : c == '0' ? KEY_ZERO
                                     : c.digitValue() - 1;
        for (int i = 0; i < KEY_COUNT && kb->focused_index() != index; ++i)
            release(kb, PANEL_KEY_RIGHT);
        release(kb, PANEL_KEY_OK);
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

// The visible texts of `page` wider than their boxes, as "name: text (w > box)".
inline QStringList texts_that_overflow(QWidget* page) {
    QStringList out;
    for (QWidget* w : page->findChildren<QWidget*>()) {
        if (!w->isVisibleTo(page))
            continue;
        w->ensurePolished();
        QString text;
        int room = w->contentsRect().width();
        if (auto* l = qobject_cast<QLabel*>(w)) {
            text = l->text();
            if (Qt::mightBeRichText(text)) {
                QTextDocument doc;
                doc.setDefaultFont(l->font());
                doc.setDocumentMargin(0);
                doc.setHtml(text);
                if (doc.idealWidth() > room)
                    out << QString("%1: %2 (%3 > %4)").arg(w->objectName(), doc.toPlainText())
                               .arg(doc.idealWidth()).arg(room);
                continue;
            }
        } else if (auto* b = qobject_cast<QAbstractButton*>(w)) {
            text = b->text();
            room -= 2; // the border the styles give
        } else if (auto* e = qobject_cast<QLineEdit*>(w)) {
            text = e->text();
            room -= 2;
        } else {
            continue;
        }
        int need = 0; // the widest line: buttons break their texts with "\n"
        for (const QString& line : text.split('\n'))
            need = std::max(need, w->fontMetrics().horizontalAdvance(line));
        if (!text.isEmpty() && need > room)
            out << QString("%1: %2 (%3 > %4)").arg(w->objectName(), text).arg(need).arg(room);
    }
    return out;
}

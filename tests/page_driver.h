#pragma once
// Drives a page and the shared number keypad as a user does (the keypad
// from inside the nested loop that a page's number field runs it in), and
// makes changes as the PC does.
#include "testsupport.h"

#include "core/devicepath.h"
#include "core/para_write.h"
#include "ui/frame/numberkeyboard.h"

namespace keypad {
// The keypad's keys in focus order: the digits 1..9 and 0, 'C' clear, 'X'
// delete the last character, 'N' Cancel, 'K' OK.
const QString KEYS = QStringLiteral("1234567890CXNK");

// Types `seq`, keys as above. Each key is reached with Right from where the
// focus was left, as the panel keys do.
inline void type(const QString& seq) {
    NumberKeyboard* kb = g_numberkeyboard;
    for (const QChar c : seq) {
        for (int i = 0; i < KEYS.size() && kb->focused_index() != KEYS.indexOf(c); ++i)
            testsupport::key(PANEL_KEY_RIGHT, kb);
        testsupport::key(PANEL_KEY_OK, kb);
    }
}
}  // namespace keypad

// Keys to the page in front: "l" Left, "r" Right, "k" OK, "b" Back, "m"
// MODE; capitals are keypad letters.
inline void press(const QString& keys) {
    static const QHash<char, int> panel{{'l', PANEL_KEY_LEFT},
                                        {'r', PANEL_KEY_RIGHT},
                                        {'k', PANEL_KEY_OK},
                                        {'b', PANEL_KEY_BACK},
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

// Runs `body` in the loop of the page that `steps` open from the main menu
// (see testsupport::run_nested), `front` its id.
inline void run_page(const std::vector<std::function<void()>>& steps, int front, const std::function<void()>& body) {
    g_page_focus = PAGE_MAINWINDOW;
    QVERIFY2(testsupport::run_nested(steps, front, body), "the page did not open");
}

// The crop table's first `count` records as set_crops() takes them, each
// "source.number x y w h" or "free", joined by ", ".
inline QString crop_records(int count) {
    QStringList out;
    for (int i = 0; i < count; ++i) {
        const uint8_t* r = RynRamPara::pInstance()->RamParaBlock.data() + blk::crop(i);
        QString rec = QString("%1.%2").arg(r[0]).arg((r[1] & 0x7F) + 1);
        for (int at : {blk::CROP_X, blk::CROP_Y, blk::CROP_W, blk::CROP_H})
            rec += ' ' + QString::number(blk::rd16(r, at));
        out << (r[blk::CROP_ID] & blk::CROP_USED ? rec : QString("free"));
    }
    return out.join(", ");
}

// Plays `script` on the page in front: keys as press() takes them; "[seq]"
// OK on the focused number field, then `seq` on its keypad; "!" runs `mark`
// (a change from outside at that point).
inline void play(const QString& script, const std::function<void()>& mark = {}) {
    for (int i = 0; i < script.size(); ++i) {
        if (script[i] == '[') {
            const int end = script.indexOf(']', i);
            keypad_on_field(script.mid(i + 1, end - i - 1));
            i = end;
        } else if (script[i] == '!') {
            mark();
        } else {
            press(script[i]);
        }
    }
}

// The page in front while `act` runs: a page it opens is seen from its own
// loop, `inside` runs there, and Back closes it again. g_page_focus when
// `act` opens none.
inline int front_after(const std::function<void()>& act, const std::function<void()>& inside = {}) {
    const int page = g_page_focus;
    int seen = page;
    QTimer watch;  // runs in every nested loop while act does
    QObject::connect(&watch, &QTimer::timeout, [&] {
        if (g_page_focus == page)
            return;
        seen = g_page_focus;
        if (inside)
            inside();
        press("b");
    });
    watch.start(0);
    act();
    return seen;
}

// The PC makes record R of the crop table crop N of source S (N 0: frees
// it), and the scaler takes the change up.
template <int R, int S, int N> void pc_crop() {
    outside_change([](RynRamPara& p) {
        p.RamParaBlock[size_t(blk::crop(R))] = S;
        p.RamParaBlock[size_t(blk::crop(R) + blk::CROP_ID)] = N ? blk::CROP_USED | (N - 1) : 0;
    });
}

// The texts of `page`'s widgets named in `names` (labels, fields, buttons;
// nothing for a hidden one), joined by spaces.
inline QString texts(const QWidget* page, const QStringList& names) {
    QStringList out;
    for (const QString& name : names) {
        const QWidget* w = page->findChild<QWidget*>(name);
        out << (w && !w->isHidden() ? w->property("text").toString() : QString());
    }
    return out.join(' ');
}

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

// The window layout view, opened from the settings menu: picking the
// window with Left and Right, and what the info frame shows of it.
#include "page_driver.h"
#include "testsupport.h"

#include "core/devicepath.h"
#include "core/global.h"
#include "core/ramblock.h"
#include "core/rynrampara.h"
#include "ui/frame/keys.h"
#include "ui/frame/language.h"
#include "ui/frame/mainwindow.h"
#include "ui/frame/option.h"
#include "ui/pages/imagelayout.h"

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFontMetrics>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QtTest>
#include <functional>

using testsupport::key;
using IntList = QVector<int>;

namespace {
RynRamPara* para() {
    return RynRamPara::pInstance();
}
ImageLayout* page() {
    return g_imagelayout();
}
QString text(const char* label) {
    return page()->findChild<QLabel*>(label)->text();
}
void set_window(int w, int field, uint16_t value) {
    para()->set_u16(blk::window(w, field), value);
}
void set_crop(int index, int source, int number) {
    uint8_t* b = para()->RamParaBlock.data();
    b[blk::crop(index)] = uint8_t(source);
    b[blk::crop(index) + blk::CROP_ID] = uint8_t(blk::CROP_USED | (number - 1));
}
void write_alias(const QByteArray& json) {
    QDir().mkpath(device_path("/data/configs"));
    QFile f(device_path("/data/configs/alias.json"));
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(json);
}
// Which mirror icon is lit: 1..4, 0 for none, -1 when the icons are mixed up.
int lit_mirror() {
    int lit = 0;
    for (int i = 1; i <= 4; ++i) {
        const QImage shown =
            page()->findChild<QLabel*>(QString("mirror%1").arg(i))->pixmap(Qt::ReturnByValue).toImage();
        auto picture = [i](const char* state) {
            return QPixmap(png(QString("mirror%1_%2.png").arg(i).arg(state)))
                .scaled(32, 32, Qt::IgnoreAspectRatio, Qt::SmoothTransformation)
                .toImage();
        };
        if (shown == picture("on"))
            lit = lit ? -1 : i;
        else if (shown != picture("off"))
            return -1;
    }
    return lit;
}
} // namespace

class TstImageLayout : public QObject {
    Q_OBJECT
    // The settings menu, Right Right to its layout entry and OK; `body` runs
    // inside the view's loop.
    void run_page(const std::function<void()>& body) {
        g_page_focus = PAGE_MAINWINDOW;
        auto open_layout = [] {
            key(PANEL_KEY_RIGHT);
            key(PANEL_KEY_RIGHT);
            key(PANEL_KEY_OK);
        };
        QVERIFY2(testsupport::run_nested({[] { pages::open<Option>(); }, open_layout},
                                         PAGE_IMAGELAYOUT, body),
                 "the layout view did not open from the settings menu");
    }

private slots:
    void initTestCase() {
        if (!g_mainwindow())
            new MainWindow(nullptr);
    }
    void init() {
        testsupport::fresh_device();
        for (int w = 0; w < WINDOW_COUNT; ++w)
            set_window(w, blk::WIN_ENABLE, 1);
        para()->RamParaShadow = para()->RamParaBlock;
    }
    void cleanup() {
        QVERIFY(testsupport::close_all_pages());
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    void window_stepping_data() {
        QTest::addColumn<int>("current");
        QTest::addColumn<QString>("keys"); // l Left, r Right, k OK, S R keypad
        QTest::addColumn<int>("expect");
        QTest::newRow("opens on the current window") << 3 << "" << 3;
        QTest::newRow("current out of range opens on 1") << 9 << "" << 0;
        QTest::newRow("Right steps") << 2 << "r" << 3;
        QTest::newRow("Right on 6 wraps to 1") << 5 << "r" << 0;
        QTest::newRow("Left on 1 wraps to 6") << 0 << "l" << 5;
        QTest::newRow("keypad S and R step too") << 0 << "SSR" << 5;
        QTest::newRow("OK changes nothing") << 4 << "k" << 4;
    }
    void window_stepping() {
        QFETCH(int, current);
        QFETCH(QString, keys);
        QFETCH(int, expect);
        g_image_current = uint8_t(current);
        run_page([&] {
            press(keys);
            QCOMPARE(int(page()->selected()), expect);
            if (!keys.isEmpty() && keys != "k")
                QCOMPARE(int(g_image_current), expect);
            QCOMPARE(page()->findChild<QFrame*>("frame_image")->geometry(),
                     QRect(7 + 51 * expect, 39, 51, 49));
            QCOMPARE(text("image_name"), QString("Name:Image%1").arg(expect + 1));
            QCOMPARE(g_page_focus, uint8_t(PAGE_IMAGELAYOUT));
        });
    }

    // A window that is off can be picked here, and the dispatcher's refresh
    // that the step asks for must not move the current window off it.
    void disabled_window_stays_current() {
        set_window(1, blk::WIN_ENABLE, 0);
        set_window(1, blk::WIN_X, 640);
        para()->RamParaShadow = para()->RamParaBlock;
        run_page([] {
            QCOMPARE(text("image_state"), QString("Image state:ON"));
            key(PANEL_KEY_RIGHT);
            QCOMPARE(int(g_image_current), 1);
            QCOMPARE(text("image_state"), QString("Image state:OFF"));
            QCOMPARE(page()->findChild<QLineEdit*>("lineEdit_X")->text(), QString("640"));
            para()->test_signal(SYNC_PARA);
            QCOMPARE(int(g_image_current), 1);
        });
    }

    void source_line_data() {
        QTest::addColumn<int>("word");
        QTest::addColumn<QString>("source");
        QTest::newRow("plain HDMI3") << 4 << "Source:HDMI3";
        QTest::newRow("crop of HDMI2") << 0x8005 << "Source:HDMI2";
        QTest::newRow("free crop record") << 0x8006 << "Source:";
        QTest::newRow("crop index 39, last record") << 0x8027 << "Source:DVI";
        QTest::newRow("crop index 40, past the table") << 0x8028 << "Source:";
        QTest::newRow("crop index 255") << 0x80FF << "Source:";
        QTest::newRow("source id 7") << 7 << "Source:";
    }
    void source_line() {
        QFETCH(int, word);
        QFETCH(QString, source);
        set_crop(5, 3, 2);
        set_crop(39, 1, 1);
        set_window(2, blk::WIN_SOURCE, uint16_t(word));
        g_image_current = 2;
        run_page([&] { QCOMPARE(text("image_source"), source); });
    }

    void name_line_data() {
        QTest::addColumn<QByteArray>("alias");
        QTest::addColumn<QString>("name");
        QTest::newRow("no alias file") << QByteArray() << "Name:Image3";
        QTest::newRow("alias of window 3")
            << QByteArray(R"({"win":{"namelist":[{"id":2,"valid":"on","name":"Stage"}]}})")
            << "Name:Stage";
        QTest::newRow("alias switched off")
            << QByteArray(R"({"win":{"namelist":[{"id":2,"valid":"off","name":"Stage"}]}})")
            << "Name:Image3";
        QTest::newRow("alias of another window")
            << QByteArray(R"({"win":{"namelist":[{"id":1,"valid":"on","name":"Stage"}]}})")
            << "Name:Image3";
        QTest::newRow("markup shown as it is")
            << QByteArray(R"({"win":{"namelist":[{"id":2,"valid":"on","name":"<b>A</b>"}]}})")
            << "Name:<b>A</b>";
        QTest::newRow("broken file") << QByteArray("{\"win\":") << "Name:Image3";
    }
    void name_line() {
        QFETCH(QByteArray, alias);
        QFETCH(QString, name);
        if (!alias.isEmpty())
            write_alias(alias);
        g_image_current = 2;
        run_page([&] { QCOMPARE(text("image_name"), name); });
    }

    // A long alias ends in an ellipsis and the whole line fits the label.
    void long_alias_is_elided_to_the_label() {
        write_alias(R"({"win":{"namelist":[{"id":0,"valid":"on",
                    "name":"Main stage left wall, upper half, second row"}]}})");
        run_page([] {
            auto* label = page()->findChild<QLabel*>("image_name");
            const QString shown = label->text();
            QVERIFY2(shown.startsWith("Name:Main") && shown.endsWith(QChar(0x2026)),
                     qPrintable(shown));
            QVERIFY(QFontMetrics(label->font()).horizontalAdvance(shown) <= label->width());
        });
    }

    // attr 0..3 lights one icon; a value out of range leaves the icons of
    // the window shown before.
    void mirror_icons_data() {
        QTest::addColumn<int>("first");
        QTest::addColumn<int>("second");
        QTest::addColumn<int>("lit");
        for (int a = 0; a < 4; ++a)
            QTest::newRow(qPrintable(QString("attr %1").arg(a))) << 1 << a << a + 1;
        QTest::newRow("attr 4 keeps attr 2's icons") << 2 << 4 << 3;
        QTest::newRow("attr 0xFFFF keeps attr 0's icons") << 0 << 0xFFFF << 1;
    }
    void mirror_icons() {
        QFETCH(int, first);
        QFETCH(int, second);
        QFETCH(int, lit);
        set_window(0, blk::WIN_ATTR, uint16_t(first));
        set_window(1, blk::WIN_ATTR, uint16_t(second));
        run_page([&] {
            QCOMPARE(lit_mirror(), first + 1);
            key(PANEL_KEY_RIGHT);
            QCOMPARE(lit_mirror(), lit);
        });
    }

    void pixel_to_pixel_combo_data() {
        QTest::addColumn<int>("output");
        QTest::addColumn<int>("dbd");
        QTest::addColumn<int>("entry");
        QTest::addColumn<QString>("shown");
        QTest::newRow("bit 8 clear, mode 9") << 0x0001 << 9 << 0 << "OFF";
        QTest::newRow("bit 8, mode 0") << 0x0100 << 0 << 1 << "ON";
        QTest::newRow("bit 8, mode 8") << 0x0102 << 8 << 2 << "HD3,HD4 Hor";
        QTest::newRow("bit 8, mode 9") << 0x0100 << 9 << 3 << "HD3,HD4 Ver";
        QTest::newRow("bit 8, mode 7 keeps window 1's entry") << 0x0100 << 7 << 2 << "HD3,HD4 Hor";
    }
    void pixel_to_pixel_combo() {
        QFETCH(int, output);
        QFETCH(int, dbd);
        QFETCH(int, entry);
        QFETCH(QString, shown);
        set_window(0, blk::WIN_OUTPUT, 0x0100);
        set_window(0, blk::WIN_DBD_MODE, 8);
        set_window(1, blk::WIN_OUTPUT, uint16_t(output));
        set_window(1, blk::WIN_DBD_MODE, uint16_t(dbd));
        run_page([&] {
            key(PANEL_KEY_RIGHT);
            auto* combo = page()->findChild<QComboBox*>("comboBox_P2P");
            QCOMPARE(combo->currentIndex(), entry);
            QCOMPARE(combo->currentText(), shown);
        });
    }

    // A language change re-texts the labels and redraws the current window;
    // the combo keeps the entries of the language it was built in.
    void language_change_while_open() {
        set_window(4, blk::WIN_ENABLE, 0);
        run_page([] {
            g_image_current = 4;
            para()->set_u16(blk::LCD_LANGUAGE, LANG_RUSSIAN);
            para()->test_signal(SYNC_PARA);
            QCOMPARE(text("label_title"), QString::fromUtf8("Расположение"));
            QCOMPARE(text("label_W"), QString::fromUtf8("Ширина"));
            QCOMPARE(text("image_state"), QString::fromUtf8("Состояние:Откл"));
            QCOMPARE(text("image_name"), QString::fromUtf8("Название:Канал5"));
            QCOMPARE(int(page()->selected()), 4);
            QCOMPARE(page()->findChild<QComboBox*>("comboBox_P2P")->itemText(0), QString("OFF"));
            // A refresh without a language change redraws nothing.
            g_image_current = 1;
            para()->test_signal(SYNC_PARA);
            QCOMPARE(int(page()->selected()), 4);
        });
    }

    // Every text keeps to its box in every language, the longest source
    // and window name and each entry of the combo included.
    void texts_fit_data() { language_rows(); }
    void texts_fit() {
        QFETCH(int, language);
        g_language = uint8_t(language);
        set_window(5, blk::WIN_ENABLE, 0);
        set_window(5, blk::WIN_SOURCE, 5);
        for (int f : {blk::WIN_X, blk::WIN_Y, blk::WIN_WIDTH, blk::WIN_HEIGHT})
            set_window(5, f, 65535);
        g_image_current = 5;
        run_page([] {
            QStringList overflow = texts_that_overflow(page());
            auto* combo = page()->findChild<QComboBox*>("comboBox_P2P");
            for (int i = 0; i < combo->count(); ++i)
                if (combo->fontMetrics().horizontalAdvance(combo->itemText(i)) > combo->width() - 2)
                    overflow << "comboBox_P2P: " + combo->itemText(i);
            QVERIFY2(overflow.isEmpty(), qPrintable(overflow.join("; ")));
        });
    }

    void back_returns_to_the_settings_menu() {
        run_page([] {
            key(PANEL_KEY_BACK);
            QCOMPARE(g_page_focus, uint8_t(PAGE_OPTION));
            QVERIFY(!g_imagelayout());
            // The entry that opened the view keeps the focus.
            QCOMPARE(g_option()->focused_entry(), 2);
        });
    }
};

QTEST_MAIN(TstImageLayout)
#include "tst_imagelayout.moc"

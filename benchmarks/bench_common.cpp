#include "bench_common.h"

#include "core/devicepath.h"
#include "core/ids.h"
#include "core/ramblock.h"
#include "core/rynrampara.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <cstdio>

namespace bench {
namespace {
const char* const ALIAS_JSON = R"({
  "source": {"namelist": [
    {"id": 0, "valid": "on", "name": "Camera left"},
    {"id": 3, "valid": "on", "name": "Stage PC"},
    {"id": 4, "valid": "off", "name": "Spare"}]},
  "crop": {"namelist": [{"id": 1, "valid": "on", "name": "Lower third"}]},
  "usermode": {"namelist": [{"id": 0, "valid": "on", "name": "Evening"}]}
})";

void write_device_file(const QString& device, const QByteArray& bytes) {
    const QString path = device_path(device);
    QDir().mkpath(QFileInfo(path).path());
    QFile f(path);
    if (f.open(QIODevice::WriteOnly))
        f.write(bytes);
}
}  // namespace

void device_in_use() {
    RynRamPara* p = RynRamPara::pInstance();
    uint8_t* b = p->RamParaBlock.data();
    const uint16_t sources[WINDOW_COUNT] = {2, 3, 0, blk::SOURCE_CROP_BIT | 1, 2, 2};
    for (int w = 0; w < WINDOW_COUNT; ++w) {
        blk::wr16(b, blk::window(w, blk::WIN_ENABLE), w < 4 ? 1 : 0);
        blk::wr16(b, blk::window(w, blk::WIN_SOURCE), sources[w]);
    }
    const int timing[SOURCE_COUNT][3] = {{1920, 1080, 60}, {0, 0, 0}, {1920, 1080, 60},
                                         {1280, 720, 50},  {0, 0, 0}, {3840, 2160, 30}};
    for (int s = 0; s < SOURCE_COUNT; ++s) {
        blk::wr16(b, blk::input_info(s), uint16_t(timing[s][0]));
        blk::wr16(b, blk::input_info(s) + 2, uint16_t(timing[s][1]));
        b[blk::input_info(s) + 4] = uint8_t(timing[s][2]);
    }
    // Crops: HDMI1 #1 and #2, EXT #1, HDMI2 #1.
    const int crops[][2] = {{2, 1}, {2, 2}, {0, 1}, {3, 1}};
    int k = 0;
    for (const auto& c : crops) {
        b[blk::crop(k)] = uint8_t(c[0]);
        b[blk::crop(k) + blk::CROP_ID] = uint8_t(blk::CROP_USED | (c[1] - 1));
        blk::wr16(b, blk::crop(k) + blk::CROP_W, 960);
        blk::wr16(b, blk::crop(k) + blk::CROP_H, 540);
        ++k;
    }
    p->RamParaShadow = p->RamParaBlock;
    p->RynCropSourceInit();
    write_device_file(QStringLiteral("/data/configs/alias.json"), ALIAS_JSON);
}

void settle() {
    for (int i = 0; i < 3; ++i) {
        QCoreApplication::sendPostedEvents();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QCoreApplication::processEvents();
    }
}

void plain_messages() {
    qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString& msg) {
        std::fprintf(stderr, "%s\n", qPrintable(msg));
    });
}
}  // namespace bench

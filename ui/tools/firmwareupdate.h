#pragma once
// The firmware-update banner: shown over the pages while the FPGA thread or
// the PC updates the device, animated by the 10 ms tick.
#include <QWidget>

class FirmwareUpdate : public QWidget {
    Q_OBJECT
public:
    explicit FirmwareUpdate(QWidget* parent = nullptr);
    ~FirmwareUpdate() override;

    // One 10 ms tick of the banner in g_move_update; nothing without one.
    static void update_time_deal();

    // Positions of the two animations: the sliding block moves every second
    // tick, the dots after the text every 100 ticks.
    int slide_step() const { return slide_step_; }
    int dots_step() const { return dots_step_; }

    static constexpr int kSlideSteps = 40;
    static constexpr int kDotsSteps = 4;

protected:
    void paintEvent(QPaintEvent*) override;

private:
    void tick();

    int ticks_ = 0;
    int slide_step_ = 0;
    int dots_step_ = 0;
};

// Shows the banner, creating it on first use into g_move_update.
void firmware_update_start();
// Closes the banner and clears g_move_update; nothing when there is none.
void firmware_update_over();

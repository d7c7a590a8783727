#include "tablet/evdev_driver.h"

#include <dirent.h>
#include <fcntl.h>
#include <linux/input.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <optional>
#include <string>
#include <utility>

namespace orv {

// ---- Event to packet translation -------------------------------------------------------

int32_t EvdevPacketAssembler::scale(int32_t raw, const PressureAxis& axis, int32_t out) const {
    const int64_t offset = static_cast<int64_t>(raw) - axis.minimum;
    if (out <= 0) return static_cast<int32_t>(offset);
    const int64_t span = static_cast<int64_t>(axis.maximum) - axis.minimum + 1;
    if (span <= 0) return 0;
    return static_cast<int32_t>(offset * out / span);  // minimum..maximum -> 0..out - 1
}

void EvdevPacketAssembler::feed(uint16_t type, uint16_t code, int32_t value) {
    if (type == EV_SYN && code == SYN_DROPPED) {
        dropping_ = true;
        return;
    }
    if (dropping_) {
        if (type == EV_SYN && code == SYN_REPORT) {
            dropping_ = false;
            resync_ = true;
        }
        return;
    }
    switch (type) {
        case EV_ABS:
            if (code == ABS_X) x_ = value;
            else if (code == ABS_Y) y_ = value;
            else if (code == ABS_PRESSURE) pressure_ = value;
            break;
        case EV_KEY:
            if (code == BTN_TOOL_PEN) pen_ = value != 0;
            else if (code == BTN_TOOL_RUBBER) eraser_ = value != 0;
            break;
        case EV_SYN:
            if (code == SYN_REPORT) report();
            break;
        default: break;
    }
}

void EvdevPacketAssembler::report() {
    const bool inProximity = pen_ || eraser_;
    if (!inProximity && !wasInProximity_) return;
    TabletPacket p;
    p.status = (eraser_ ? kPacketInvert : 0) | (inProximity ? 0 : kPacketOutOfProximity);
    p.x = scale(x_, axes_.x, outWidth_);
    p.y = scale(y_, axes_.y, outHeight_);
    p.pressure = inProximity && pressure_ > 0 ? static_cast<uint32_t>(pressure_) : 0;
    wasInProximity_ = inProximity;
    if (queue_.size() >= limit_) queue_.pop_front();
    queue_.push_back(p);
}

int32_t EvdevPacketAssembler::take(int32_t max, TabletPacket* out) {
    int32_t n = 0;
    while (n < max && !queue_.empty()) {
        if (out) out[n] = queue_.front();
        queue_.pop_front();
        ++n;
    }
    return n;
}

void EvdevPacketAssembler::setState(int32_t x, int32_t y, int32_t pressure, bool pen, bool eraser) {
    x_ = x, y_ = y, pressure_ = pressure, pen_ = pen, eraser_ = eraser;
}

// ---- Device access ------------------------------------------------------------------------

namespace {

constexpr size_t kBitsPerLong = sizeof(unsigned long) * 8;

bool testBit(const unsigned long* bits, unsigned bit) { return (bits[bit / kBitsPerLong] >> (bit % kBitsPerLong)) & 1; }

bool readAxis(int fd, unsigned code, PressureAxis& axis, int32_t* current = nullptr) {
    input_absinfo info{};
    if (ioctl(fd, EVIOCGABS(code), &info) < 0) return false;
    axis = {info.minimum, info.maximum};
    if (current) *current = info.value;
    return true;
}

// A device that reports absolute x, y and pressure and has a pen tool.
bool isPen(int fd, EvdevAxes& axes) {
    unsigned long abs[ABS_CNT / kBitsPerLong + 1] = {};
    unsigned long keys[KEY_CNT / kBitsPerLong + 1] = {};
    if (ioctl(fd, EVIOCGBIT(EV_ABS, sizeof abs), abs) < 0) return false;
    if (ioctl(fd, EVIOCGBIT(EV_KEY, sizeof keys), keys) < 0) return false;
    if (!testBit(abs, ABS_X) || !testBit(abs, ABS_Y) || !testBit(abs, ABS_PRESSURE) || !testBit(keys, BTN_TOOL_PEN))
        return false;
    return readAxis(fd, ABS_X, axes.x) && readAxis(fd, ABS_Y, axes.y) && readAxis(fd, ABS_PRESSURE, axes.pressure);
}

// The first pen device the process may read, or -1.
int findPenDevice(EvdevAxes& axes) {
    DIR* dir = opendir("/dev/input");
    if (!dir) return -1;
    int found = -1;
    while (dirent* e = readdir(dir)) {
        if (std::strncmp(e->d_name, "event", 5) != 0) continue;
        const std::string path = std::string("/dev/input/") + e->d_name;
        const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
        if (fd < 0) continue;  // no permission or gone: try the next one
        if (isPen(fd, axes)) {
            found = fd;
            break;
        }
        ::close(fd);
    }
    closedir(dir);
    return found;
}

class EvdevTabletDriver final : public TabletDriver {
public:
    EvdevTabletDriver() = default;
    EvdevTabletDriver(int fd, const EvdevAxes& axes) : fd_(fd), axes_(axes) {
        if (fd_ >= 0) fcntl(fd_, F_SETFL, fcntl(fd_, F_GETFL) | O_NONBLOCK);
    }
    ~EvdevTabletDriver() override { closeDevice(); }

    int32_t queryPressureAxis(PressureAxis& axis) override {
        if (fd_ < 0) fd_ = findPenDevice(axes_);
        if (fd_ < 0) return 0;
        axis = axes_.pressure;
        return static_cast<int32_t>(sizeof(PressureAxis));
    }

    intptr_t open(void*, const ContextRequest& request) override {
        if (fd_ < 0) return 0;
        assembler_.emplace(axes_);
        assembler_->setOutput(request.outWidth, request.outHeight);
        pump();  // events from before the context opened are not its packets
        assembler_->clear();
        return kContext;
    }

    int32_t setQueueSize(intptr_t context, int32_t packets) override {
        if (context != kContext || !assembler_ || packets <= 0) return 0;
        assembler_->setQueueLimit(static_cast<size_t>(packets));
        return 1;
    }

    void close(intptr_t context) override {
        if (context == kContext) assembler_.reset();
    }

    int32_t getPackets(intptr_t context, int32_t max, TabletPacket* out) override {
        if (context != kContext || !assembler_) return 0;
        pump();
        return assembler_->take(max, out);
    }

private:
    static constexpr intptr_t kContext = 1;

    void closeDevice() {
        if (fd_ >= 0) ::close(fd_);
        fd_ = -1;
    }

    // Reads every pending event into the assembler. A device that went away is closed, so
    // the next initialisation looks for a pen again.
    void pump() {
        input_event ev[64];
        while (fd_ >= 0) {
            const ssize_t n = ::read(fd_, ev, sizeof ev);
            if (n < 0) {
                if (errno == EINTR) continue;
                if (errno != EAGAIN) closeDevice();
                return;
            }
            if (n == 0) {  // end of stream: the device is gone
                closeDevice();
                return;
            }
            for (size_t i = 0; i < static_cast<size_t>(n) / sizeof(input_event); ++i) {
                assembler_->feed(ev[i].type, ev[i].code, ev[i].value);
                if (assembler_->resyncNeeded()) resync();
            }
        }
    }

    void resync() {
        int32_t x = 0, y = 0, p = 0;
        PressureAxis ignored;
        readAxis(fd_, ABS_X, ignored, &x);
        readAxis(fd_, ABS_Y, ignored, &y);
        readAxis(fd_, ABS_PRESSURE, ignored, &p);
        unsigned long keys[KEY_CNT / kBitsPerLong + 1] = {};
        const bool haveKeys = ioctl(fd_, EVIOCGKEY(sizeof keys), keys) >= 0;
        assembler_->setState(x, y, p, haveKeys && testBit(keys, BTN_TOOL_PEN), haveKeys && testBit(keys, BTN_TOOL_RUBBER));
    }

    int fd_ = -1;
    EvdevAxes axes_{};
    std::optional<EvdevPacketAssembler> assembler_;
};

}  // namespace

std::unique_ptr<TabletDriver> makeEvdevTabletDriver(int fd, const EvdevAxes& axes) {
    return std::make_unique<EvdevTabletDriver>(fd, axes);
}

std::unique_ptr<TabletDriver> makeSystemTabletDriver() { return std::make_unique<EvdevTabletDriver>(); }

}  // namespace orv

// End to end through the ALSA sequencer where the machine has one (a desktop; not CI): a device of our
// own, seen from the application's side the way the device manager sees an amplifier. On JACK the echo
// suite and velkctl's suite, whose simulator is such a device in a process of its own, do this.
#include "midi/MidiDevice.h"

#include "midi/MessageRecorder.h"
#include "midi/ServiceSelection.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>

namespace {

using midi::test::Bytes;
using midi::test::findEndpoint;
using midi::test::MessageRecorder;
using midi::test::numberedSysex;
using midi::test::recorderFor;
using namespace std::chrono_literals;

constexpr midi::ServiceChoice kAlsa = midi::ServiceChoice::Alsa;
constexpr const char* kDeviceName = "VelkSolvo/Device";

// Sends until the message arrives whole: a service may lose a message on a loaded machine.
template <typename Send>
bool arrives(MessageRecorder& at, const Bytes& message, Send send) {
    for (int attempt = 0; attempt < 3; ++attempt) {
        const size_t before = at.count();
        if (send() != 0)
            return false;
        if (at.waitForCount(before + 1, 1000ms) && at.messages().back() == message)
            return true;
    }
    return false;
}

// A device of ours on the sequencer, and the application's side of it.
class AlsaMidiDevice : public testing::Test {
protected:
    void SetUp() override {
        if (!std::filesystem::exists("/dev/snd/seq"))
            GTEST_SKIP() << "no ALSA sequencer on this machine: these tests run on a desktop";
        midi::DeviceSelection opened = midi::openDevice(kAlsa, kDeviceName, recorderFor(atDevice));
        device = std::move(opened.device);
        ASSERT_NE(device, nullptr) << opened.unavailableReason;
        midi::ServiceSelection selected = midi::selectService(kAlsa);
        application = std::move(selected.service);
        ASSERT_NE(application, nullptr) << selected.unavailableReason;
    }
    int sendFromDevice(const Bytes& message) {
        return device->send(message.data(), static_cast<uint32_t>(message.size()));
    }

    MessageRecorder atDevice;
    MessageRecorder atApplication;
    std::unique_ptr<midi::MidiDevice> device;
    std::shared_ptr<midi::MidiService> application;
};

TEST_F(AlsaMidiDevice, appearsUnderItsNameBesideNoneOfOurOwnPortsAndVanishesWithTheDevice) {
    EXPECT_EQ(device->serviceName(), "alsa");
    EXPECT_EQ(device->name(), kDeviceName);
    using testing::Contains, testing::Field, testing::HasSubstr, testing::Not;
    EXPECT_THAT(application->sources(),
                Contains(Field(&midi::Endpoint::name, "VelkSolvo/Device:MIDI OUTPUT")));
    EXPECT_THAT(application->destinations(),
                Contains(Field(&midi::Endpoint::name, "VelkSolvo/Device:MIDI INPUT")));
    EXPECT_THAT(application->sources(),
                Not(Contains(Field(&midi::Endpoint::name, HasSubstr("Velk Vovezid:")))));
    EXPECT_EQ(sendFromDevice(numberedSysex(11, 3)), 0);  // with nobody connected
    device.reset();
    EXPECT_FALSE(findEndpoint(application->sources(), kDeviceName));
    EXPECT_FALSE(findEndpoint(application->destinations(), kDeviceName));
}

TEST_F(AlsaMidiDevice, theApplicationIsToldWhenADeviceAppears) {
    auto announced = std::make_shared<midi::test::Handoff<bool>>();  // may be told after the test
    application->setChangeHandler([announced] { announced->set(true); });
    midi::DeviceSelection other = midi::openDevice(kAlsa, kDeviceName, nullptr);
    ASSERT_NE(other.device, nullptr) << other.unavailableReason;
    EXPECT_TRUE(announced->wait());
    application->setChangeHandler(nullptr);
}

// The sequencer copies every event through the kernel: the application may share our process.
TEST_F(AlsaMidiDevice, exchangesEveryLengthTheAmplifierUsesWithTheApplicationExactly) {
    const auto source = findEndpoint(application->sources(), kDeviceName);
    const auto destination = findEndpoint(application->destinations(), kDeviceName);
    ASSERT_TRUE(source && destination);
    ASSERT_EQ(application->openInput(*source, recorderFor(atApplication)), 0);
    ASSERT_EQ(application->openOutput(*destination), 0);
    // From the heartbeat reply to a full coefficient packet.
    for (size_t length = 9; length <= 532; ++length) {
        const Bytes toDevice = numberedSysex(length, 1);
        EXPECT_TRUE(arrives(atDevice, toDevice, [&] {
            return midi::test::sendSysexAndWait(*application, toDevice);
        })) << length;
        const Bytes toApplication = numberedSysex(length, 2);
        EXPECT_TRUE(arrives(atApplication, toApplication, [&] { return sendFromDevice(toApplication); }))
            << length;
    }
}

}  // namespace

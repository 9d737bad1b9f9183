// End to end through the real MIDI services: a device of our own, seen from the application's side of
// the same backend the way the device manager sees an amplifier, on a private JACK server and on the
// ALSA sequencer where the machine has one (a desktop; not CI). Messages are exchanged with a JACK peer in a
// process of its own: JACK clients of one process share port buffers through synchronisation that
// ThreadSanitizer cannot see.
#include "midi/MidiDevice.h"

#include "JackEchoPeer.h"
#include "JackTestServer.h"
#include "midi/MessageRecorder.h"
#include "midi/ServiceSelection.h"
#include "midi/SysexSend.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <jack/jack.h>

#include <filesystem>

namespace {

using midi::ServiceChoice;
using midi::test::Bytes;
using midi::test::JackEchoPeer;
using midi::test::MessageRecorder;
using midi::test::numberedSysex;
using namespace std::chrono_literals;

constexpr const char* kDeviceName = "VelkSolvo/Device";
// From the heartbeat reply to a full coefficient packet.
constexpr size_t kShortest = 9;
constexpr size_t kLongest = 532;

std::optional<midi::Endpoint> findEndpoint(const std::vector<midi::Endpoint>& endpoints,
                                           const std::string& text) {
    for (const midi::Endpoint& endpoint : endpoints) {
        if (endpoint.name.find(text) != std::string::npos)
            return endpoint;
    }
    return std::nullopt;
}

midi::MidiService::InputHandler recorderFor(MessageRecorder& recorder) {
    return [&recorder](const midi::PacketList& packets) {
        for (const midi::Packet& packet : packets)
            recorder.record(packet.bytes);
    };
}

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

// Connects two other clients' ports, as a patchbay does.
bool connectJackPorts(const std::string& from, const std::string& to) {
    jack_client_t* patchbay = jack_client_open("velk-test-patchbay", JackNoStartServer, nullptr);
    if (!patchbay)
        return false;
    const bool connected = jack_connect(patchbay, from.c_str(), to.c_str()) == 0;
    jack_client_close(patchbay);
    return connected;
}

// A device of ours on a service, and the application's side of the same service.
class MidiDeviceTest : public testing::TestWithParam<ServiceChoice> {
protected:
    void SetUp() override {
        const ServiceChoice service = GetParam();
        if (service == ServiceChoice::Jack)
            VELK_REQUIRE_JACK_SERVER("-device");
        else if (!std::filesystem::exists("/dev/snd/seq"))
            GTEST_SKIP() << "no ALSA sequencer on this machine: these tests run on a desktop";
        midi::DeviceSelection opened = midi::openDevice(service, kDeviceName, recorderFor(atDevice));
        device = std::move(opened.device);
        ASSERT_NE(device, nullptr) << opened.unavailableReason;
        midi::ServiceSelection selected = midi::selectService(service);
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

std::string serviceWord(ServiceChoice choice) {
    return choice == ServiceChoice::Jack ? "jack" : "alsa";
}

TEST_P(MidiDeviceTest, appearsUnderItsNameBesideNoneOfOurOwnPortsAndVanishesWithTheDevice) {
    EXPECT_EQ(device->serviceName(), serviceWord(GetParam()));
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

TEST_P(MidiDeviceTest, theApplicationIsToldWhenADeviceAppears) {
    auto announced = std::make_shared<midi::test::Handoff<bool>>();  // may be told after the test
    application->setChangeHandler([announced] { announced->set(true); });
    midi::DeviceSelection other = midi::openDevice(GetParam(), "VelkSolvo/Other", nullptr);
    ASSERT_NE(other.device, nullptr) << other.unavailableReason;
    EXPECT_TRUE(announced->wait());
    application->setChangeHandler(nullptr);
}

// The sequencer copies every event through the kernel, so there the application may share our
// process. On JACK what the device sends comes back to it through the peer.
TEST_P(MidiDeviceTest, exchangesEveryLengthTheAmplifierUsesExactly) {
    const bool jack = GetParam() == ServiceChoice::Jack;
    std::unique_ptr<JackEchoPeer> peer;
    if (jack) {
        peer = JackEchoPeer::start("VelkSolvo-Test/Echo");
        ASSERT_NE(peer, nullptr);
        ASSERT_TRUE(connectJackPorts(std::string(kDeviceName) + ":MIDI OUTPUT", peer->inputName()));
        ASSERT_TRUE(connectJackPorts(peer->outputName(), std::string(kDeviceName) + ":MIDI INPUT"));
    } else {
        const auto source = findEndpoint(application->sources(), kDeviceName);
        const auto destination = findEndpoint(application->destinations(), kDeviceName);
        ASSERT_TRUE(source && destination);
        ASSERT_EQ(application->openInput(*source, recorderFor(atApplication)), 0);
        ASSERT_EQ(application->openOutput(*destination), 0);
    }
    for (size_t length = kShortest; length <= kLongest; ++length) {
        const Bytes fromDevice = numberedSysex(length, 2);
        EXPECT_TRUE(arrives(jack ? atDevice : atApplication, fromDevice, [&] {
            return sendFromDevice(fromDevice);
        })) << length;
        if (jack)
            continue;
        const Bytes toDevice = numberedSysex(length, 1);
        EXPECT_TRUE(arrives(atDevice, toDevice, [&] {
            return midi::test::sendSysexAndWait(*application, toDevice);
        })) << length;
    }
}

INSTANTIATE_TEST_SUITE_P(Services, MidiDeviceTest, testing::Values(ServiceChoice::Jack, ServiceChoice::Alsa),
                         [](const auto& info) { return serviceWord(info.param); });

TEST(JackDevice, aSecondDeviceOfTheSameNameIsMadeUnique) {
    VELK_REQUIRE_JACK_SERVER("-device");
    midi::DeviceSelection first = midi::openDevice(ServiceChoice::Jack, kDeviceName, nullptr);
    midi::DeviceSelection second = midi::openDevice(ServiceChoice::Jack, kDeviceName, nullptr);
    ASSERT_TRUE(first.device && second.device) << first.unavailableReason << second.unavailableReason;
    EXPECT_NE(second.device->name(), kDeviceName);
    EXPECT_THAT(second.device->name(), testing::StartsWith(kDeviceName));
}

}  // namespace

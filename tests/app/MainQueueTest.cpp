#include "app/MainQueue.h"

#include <gtest/gtest.h>
#include <QCoreApplication>
#include <QThread>
#include <thread>

#include "AppTestSupport.h"

namespace {

using velk::app::gMain_queue;

TEST(MainQueue, workPostedFromAnotherThreadRunsOnTheGuiThreadLater) {
    velk::test::editorApplication();
    QObject receiver;
    QThread* ranOn = nullptr;
    std::thread poster([&] { gMain_queue.async(&receiver, [&] { ranOn = QThread::currentThread(); }); });
    poster.join();
    EXPECT_EQ(ranOn, nullptr) << "nothing runs before the GUI thread turns its event loop";
    QCoreApplication::processEvents();
    EXPECT_EQ(ranOn, QCoreApplication::instance()->thread());
}

TEST(MainQueue, workKeepsItsOrder) {
    velk::test::editorApplication();
    QObject receiver;
    std::vector<int> order;
    for (int i = 0; i < 5; ++i)
        gMain_queue.async(&receiver, [&order, i] { order.push_back(i); });
    QCoreApplication::processEvents();
    EXPECT_EQ(order, (std::vector<int>{0, 1, 2, 3, 4}));
}

TEST(MainQueue, workForADestroyedReceiverNeverRuns) {
    velk::test::editorApplication();
    bool ran = false;
    auto* receiver = new QObject;
    std::thread poster([&] { gMain_queue.async(receiver, [&] { ran = true; }); });
    poster.join();
    delete receiver;
    QCoreApplication::processEvents();
    EXPECT_FALSE(ran);
}

}  // namespace

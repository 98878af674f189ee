// The one wrapper around code the toolkit calls: nothing escapes it, the
// installed handler gets the exception, and the tidying-up runs first.

#include "gfx/ErrorReport.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

namespace
{

class ErrorReportTest : public ::testing::Test
{
  protected:
    void SetUp() override
    {
        m_previous = SetUncaughtHandler([this](std::exception_ptr e) {
            events.push_back("reported");
            try {
                std::rethrow_exception(e);
            } catch (const std::exception &x) {
                messages.push_back(x.what());
            } catch (...) {
                messages.push_back("?");
            }
        });
    }
    void TearDown() override { SetUncaughtHandler(m_previous); }

    std::vector<std::string> events;
    std::vector<std::string> messages;

  private:
    TUncaughtHandler m_previous;
};

TEST_F(ErrorReportTest, AHandlerThatReturnsReportsNothing)
{
    int ran = 0;
    CallReportingEscapes([&] { ++ran; }, [&] { events.push_back("tidied"); });
    EXPECT_EQ(ran, 1);
    EXPECT_TRUE(events.empty());
}

TEST_F(ErrorReportTest, AnEscapeIsTidiedUpThenReportedOnce)
{
    CallReportingEscapes([] { throw std::runtime_error("non enumerated engine type"); },
                         [&] { events.push_back("tidied"); });
    EXPECT_EQ(events, (std::vector<std::string>{"tidied", "reported"}));
    EXPECT_EQ(messages, (std::vector<std::string>{"non enumerated engine type"}));
}

TEST_F(ErrorReportTest, AnythingThrownIsReportedEvenWhenTheTidyingUpThrows)
{
    CallReportingEscapes([] { throw 42; }, [] { throw std::logic_error("tidy"); });
    EXPECT_EQ(messages, (std::vector<std::string>{"?"}));
    CallReportingEscapes([] { throw std::runtime_error("once"); });
    EXPECT_EQ(messages.back(), "once");
    EXPECT_EQ(events.size(), 2u);
}

TEST(ErrorReport, WithoutAHandlerTheMessageGoesToTheWarningOutput)
{
    const TUncaughtHandler previous = SetUncaughtHandler({});
    EXPECT_NO_THROW(CallReportingEscapes([] { throw std::runtime_error("quietly"); }));
    SetUncaughtHandler(previous);
}

} // namespace

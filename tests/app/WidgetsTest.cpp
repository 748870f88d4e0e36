// The window's small parts: the drawn pictures, the preview panel, action links and the dialog
// script that keeps form tests from ever blocking.
#include "app/ActionLink.h"
#include "app/Dialogs.h"
#include "app/Pictures.h"
#include "app/PreviewPanel.h"
#include "QtEnvironment.h"

#include <QAction>
#include <QImage>
#include <QPushButton>
#include <QTimer>

#include <gtest/gtest.h>

namespace pellucor::app {
namespace {

const auto* const kQt = ::testing::AddGlobalTestEnvironment(new test::QtEnvironment);

struct Tally {
    int red = 0, green = 0, top = 0, bottom = 0, opaque = 0;
};

Tally Look(const QIcon& icon) {
    const QImage image = icon.pixmap(16, 16).toImage().convertToFormat(QImage::Format_ARGB32);
    Tally t;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QColor c = image.pixelColor(x, y);
            if (c.alpha() < 128) continue;
            ++t.opaque;
            if (c.red() > 150 && c.green() < 90) ++t.red;
            if (c.green() > 110 && c.red() < 90) ++t.green;
            (y < 8 ? t.top : t.bottom)++;
        }
    }
    return t;
}

TEST(Pictures, TheFiveListPicturesLookLikeWhatTheyStandFor) {
    const Tally film = Look(ListPictureIcon(PicWaiting));
    const Tally cross = Look(ListPictureIcon(PicFailed));
    const Tally tick = Look(ListPictureIcon(PicConverted));
    const Tally up = Look(ListPictureIcon(PicSortUp));
    const Tally down = Look(ListPictureIcon(PicSortDown));
    EXPECT_GT(film.opaque, 100) << "the film strip fills most of its square";
    EXPECT_GT(cross.red, 10) << "the cross is red";
    EXPECT_EQ(cross.green, 0);
    EXPECT_GT(tick.green, 10) << "the tick is green";
    EXPECT_EQ(tick.red, 0);
    EXPECT_GT(up.bottom, up.top) << "an upward triangle is wide at the bottom";
    EXPECT_GT(down.top, down.bottom) << "a downward triangle is wide at the top";
    EXPECT_TRUE(ListPictureIcon(-1).isNull());
    EXPECT_TRUE(ListPictureIcon(5).isNull());
}

TEST(PreviewPanel, KeepsACopyOfTheLastPictureAndIgnoresShortBuffers) {
    PreviewPanel panel;
    std::vector<std::uint8_t> rgb(4 * 2 * 3, 0);
    for (std::size_t i = 0; i < rgb.size(); i += 3) rgb[i] = 255;  // all red
    panel.showPicture(4, 2, rgb);
    rgb.assign(rgb.size(), 0);  // the engine reuses its buffer
    ASSERT_EQ(panel.picture().size(), QSize(4, 2));
    EXPECT_EQ(panel.picture().pixelColor(3, 1), QColor(255, 0, 0));

    panel.showPicture(100, 100, rgb);  // far too few bytes for that size
    EXPECT_EQ(panel.picture().size(), QSize(4, 2));
    panel.showPicture(0, 5, rgb);
    EXPECT_EQ(panel.picture().size(), QSize(4, 2));
    panel.clearPicture();
    EXPECT_TRUE(panel.picture().isNull());
}

TEST(ActionLink, ClientsTakeTheActionAndFollowItWhileTheyAgreeWithIt) {
    QAction action(QStringLiteral("&Remove"));
    action.setToolTip(QStringLiteral("Remove"));
    action.setShortcut(QKeySequence::Delete);
    QAction entry, ownCaption(QStringLiteral("T&urn to Batch Mode"));
    QPushButton button;
    LinkAction(&action, &entry);
    LinkAction(&action, &ownCaption, LinkCaption::KeepOwn);
    LinkAction(&action, &button);
    EXPECT_EQ(entry.text(), "&Remove");
    EXPECT_EQ(entry.shortcut(), QKeySequence(QKeySequence::Delete));
    EXPECT_EQ(button.text(), "&Remove");
    EXPECT_EQ(button.toolTip(), "Remove");
    EXPECT_EQ(ownCaption.text(), "T&urn to Batch Mode");

    action.setText(QStringLiteral("&Delete"));
    EXPECT_EQ(entry.text(), "&Delete");
    EXPECT_EQ(button.text(), "&Delete");
    EXPECT_EQ(ownCaption.text(), "T&urn to Batch Mode") << "a client with its own caption keeps it";

    // A client given its own text no longer follows the action's text; its state still does.
    entry.setText(QStringLiteral("Mine"));
    action.setText(QStringLiteral("&Erase"));
    EXPECT_EQ(entry.text(), "Mine");
    EXPECT_EQ(button.text(), "&Erase");
    entry.setEnabled(false);  // switched off on its own, as UpdateMenuStates does
    EXPECT_TRUE(action.isEnabled());
    action.setEnabled(false);
    action.setEnabled(true);
    EXPECT_TRUE(entry.isEnabled()) << "the next change of the action reaches it again";

    int runs = 0;
    QObject::connect(&action, &QAction::triggered, [&] { ++runs; });
    entry.trigger();
    button.click();
    EXPECT_EQ(runs, 2);
    action.setEnabled(false);
    entry.setEnabled(true);
    entry.trigger();
    EXPECT_EQ(runs, 2) << "a disabled action does not run from an enabled client";
}

TEST(DialogsScript, AnswersInOrderAndCountsWhatFoundNoAnswer) {
    Dialogs::Script script;
    script.answerYes(true);
    script.answerYes(false);
    script.chooseFolder(QStringLiteral("/data"));
    script.chooseFiles({QStringLiteral("/a.avi")});
    EXPECT_TRUE(Dialogs::askYesNo(nullptr, QStringLiteral("first")));
    EXPECT_FALSE(Dialogs::askYesNo(nullptr, QStringLiteral("second")));
    EXPECT_FALSE(Dialogs::askYesNo(nullptr, QStringLiteral("unexpected")));
    EXPECT_EQ(Dialogs::browseForFolder(nullptr, QStringLiteral("Pick")), QStringLiteral("/data"));
    EXPECT_EQ(Dialogs::browseForFolder(nullptr, QStringLiteral("Again")), std::nullopt);
    EXPECT_EQ(Dialogs::openFiles(nullptr, QStringLiteral("AVI Files(*.avi)")), QStringList{"/a.avi"});
    Dialogs::warning(nullptr, QStringLiteral("careful"));
    EXPECT_EQ(script.unanswered(), 2);
    ASSERT_EQ(script.shown().size(), 7u);
    EXPECT_EQ(script.shown()[2].text, "unexpected");
    EXPECT_EQ(script.shown()[3].title, "Pick");
    EXPECT_EQ(script.shown()[6].kind, Dialogs::Kind::Warning);
    {
        Dialogs::Script inner;  // scripts nest; the inner one answers while it lives
        Dialogs::information(nullptr, QStringLiteral("inner"));
        EXPECT_EQ(inner.shown().size(), 1u);
    }
    Dialogs::information(nullptr, QStringLiteral("outer"));
    EXPECT_EQ(script.shown().back().text, "outer");
}

TEST(Application, AnExceptionFromAHandlerIsShownAndTheProgramGoesOn) {
    Dialogs::Script script;
    bool after = false;
    QTimer::singleShot(0, [] { throw std::runtime_error("Cannot create the folder '/x'"); });
    QTimer::singleShot(0, [&] { after = true; });
    QCoreApplication::processEvents();
    QCoreApplication::processEvents();
    ASSERT_EQ(script.shown().size(), 1u);
    EXPECT_EQ(script.shown()[0].kind, Dialogs::Kind::Critical);
    EXPECT_EQ(script.shown()[0].text, "Cannot create the folder '/x'");
    EXPECT_TRUE(after);
}

} // namespace
} // namespace pellucor::app

// The quick preview: the program drawing every sample into a PNG in the chosen look, and the
// window itself on Qt's offscreen platform, driven by keys as a user drives it.
#include "PreviewOfDocument.h"
#include "PrivateRuntimeFolder.h"
#include "QxpExtractRun.h"
#include "Samples.h"

#include <ChildProcess.h>
#include <TemporaryFolder.h>

#include <QApplication>
#include <QClipboard>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTest>
#include <QTextBrowser>
#include <gtest/gtest.h>

#include <filesystem>

#include <sys/stat.h>

namespace {

// A home folder with the generator bundle installed and its skin.plist holding these settings.
void HomeWithSettings(const TemporaryFolder& home, const std::string& skinIndex, const std::string& background) {
    home.WriteFile("Library/QuickLook/Foliotta.qlgenerator/Contents/Resources/skin.plist",
                   "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<plist version=\"1.0\"><dict>"
                   "<key>BGColor</key><string>" + background + "</string>"
                   "<key>Skin Index</key><string>" + skinIndex + "</string></dict></plist>\n");
}

std::vector<std::string> FilesUnder(const std::string& folder) {
    std::vector<std::string> files;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(folder))
        if (!entry.is_directory()) files.push_back(std::filesystem::relative(entry.path(), folder).string());
    return files;
}

// Documents it cannot read too: their message, on the same background.
TEST(PreviewProgram, DrawsEveryDocumentOnTheChosenBackgroundAndRemembersNothing) {
    TemporaryFolder home("foliotta-home");
    HomeWithSettings(home, "-1", "RGB(12,200,34)");
    TemporaryFolder output("foliotta-png");
    const std::string png = output.path() + "/preview.png";
    std::vector<std::string> documents = ReadableSamples();
    for (const std::string& path : UnreadableDocuments()) documents.push_back(path);
    for (const std::string& path : documents) {
        SCOPED_TRACE(path);
        std::filesystem::remove(png);
        const ChildResult result = RunChild({PREVIEW, path, "--png", png}, {{"HOME", home.path()}, {"XDG_CONFIG_HOME", std::nullopt}});
        ASSERT_EQ(result.exitStatus, 0) << result.standardError;
        EXPECT_EQ(result.standardError, "") << "nothing to say when nothing is wrong";
        const QImage image(QString::fromStdString(png));
        EXPECT_EQ(image.size(), PreviewWindow::kDefaultSize);
        EXPECT_EQ(image.pixelColor(2, 2), QColor(12, 200, 34));
    }
    EXPECT_EQ(FilesUnder(home.path()), std::vector<std::string>{"Library/QuickLook/Foliotta.qlgenerator/Contents/Resources/skin.plist"});
    EXPECT_EQ(RunChild({PREVIEW}).exitStatus, 2);
    EXPECT_EQ(RunChild({PREVIEW, std::string(SAMPLES) + "/colors.qxd", "--png"}).exitStatus, 2);
}

TEST(PreviewProgram, TheSkinAndColourComeFromTheSettingsUserBundleFirst) {
    struct Case {
        std::optional<std::pair<std::string, std::string>> settings;  // Skin Index, BGColor
        QColor corner;
    } cases[] = {
        {std::pair{"0", "none"}, QColor(52, 54, 58)},          // the second skin's backdrop
        {std::pair{"-1", "none"}, QColor(236, 236, 236)},      // the first skin's backdrop
        {std::pair{"0", ""}, QColor(0, 0, 0)},                 // an unreadable colour reads as black
        {std::nullopt, QColor(236, 236, 236)},                 // nothing installed: the first skin, no colour
    };
    for (const Case& c : cases) {
        TemporaryFolder home("foliotta-home");
        if (c.settings) HomeWithSettings(home, c.settings->first, c.settings->second);
        const std::string png = home.path() + "/preview.png";
        ASSERT_EQ(RunChild({PREVIEW, std::string(SAMPLES) + "/colors.qxd", "--png", png}, {{"HOME", home.path()}}).exitStatus, 0);
        EXPECT_EQ(QImage(QString::fromStdString(png)).pixelColor(2, 2), c.corner)
            << (c.settings ? c.settings->first + " " + c.settings->second : "no bundle");
    }
}

TEST(PreviewProgram, RefusesAnOutputThatIsNotARegularFileAtOnce) {
    TemporaryFolder output("foliotta-png");
    const std::string fifo = output.path() + "/fifo.png";
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    const std::string link = output.path() + "/link.png";
    std::filesystem::create_symlink(output.WriteFile("target.png", "kept"), link);
    for (const std::string& png : {fifo, link}) {
        // Bounded, so that a program waiting for a reader of the FIFO fails here instead of hanging.
        const ChildResult result = RunChild({"timeout", "20", PREVIEW, std::string(SAMPLES) + "/colors.qxd", "--png", png});
        EXPECT_EQ(result.exitStatus, 1) << png << result.standardError;
    }
    EXPECT_TRUE(std::filesystem::is_fifo(fifo));
    EXPECT_TRUE(std::filesystem::is_symlink(link));
    EXPECT_EQ(std::filesystem::file_size(output.path() + "/target.png"), 4u);
}

class PreviewWindowTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        static int argc = 1;
        static char name[] = "preview-tests";
        static char* argv[] = {name, nullptr};
        if (QApplication::instance() == nullptr) new QApplication(argc, argv);
    }
};

TEST_F(PreviewWindowTest, ShowsWhatThePasteboardHeld) {
    const std::string sample = std::string(SAMPLES) + "/formatting.qxd";
    const ExtractedDocument expected = ExtractedDocumentFromItems(RunQxpExtract(QXPEXTRACT, "-p", sample).data);
    ASSERT_FALSE(expected.summary.empty());
    auto window = PreviewOfDocument(QXPEXTRACT, sample);
    EXPECT_EQ(window->findChild<QLabel*>("summary")->text().toStdString(), expected.summary);
    const std::string facts = window->findChild<QTextBrowser*>("facts")->toPlainText().toStdString();
    // Sizes are written one way, the first page's and each page's alike.
    EXPECT_NE(facts.find("First page\n651.97 × 566.93 pt"), std::string::npos) << facts;
    EXPECT_NE(facts.find("1: 651.97 × 566.93 pt"), std::string::npos) << "from " << expected.pageSizes.at(0) << "\n" << facts;
    EXPECT_EQ(facts.find("651.9685"), std::string::npos) << facts;
    for (const auto* list : {&expected.fonts, &expected.colors})
        for (const auto& shown : *list) EXPECT_NE(facts.find(shown), std::string::npos) << shown;
    const std::string text = window->findChild<QPlainTextEdit*>("text")->toPlainText().toStdString();
    for (const auto& paragraph : expected.paragraphs) EXPECT_NE(text.find(paragraph), std::string::npos) << paragraph;
}

// A damaged copy, an older format, and copies given a later release's version code (the header's
// 16-bit number after "XPR3", in the byte order the header names: "II" low byte first, "MM" high
// byte first) each get a message in the window that names the document.
TEST_F(PreviewWindowTest, ADocumentThatCannotBeDrawnGetsAMessageInTheWindow) {
    TemporaryFolder folder("foliotta-unreadable");
    const std::string formatting = ReadWholeFile(std::string(SAMPLES) + "/formatting.qxd");
    auto relabelled = [&](const char* sample, size_t offset, char code) {
        std::string bytes = ReadWholeFile(std::string(SAMPLES) + "/" + sample);
        bytes.at(offset) = code;
        return folder.WriteFile(std::string(sample) + " relabelled " + std::to_string(code), bytes);
    };
    const struct {
        std::string path;
        const char* message;
        std::string reader = QXPEXTRACT;
    } rows[] = {
        {folder.WriteFile("damaged.qxd", formatting.substr(0, formatting.size() / 3)), "“damaged.qxd” cannot be previewed"},
        {std::string(SAMPLES) + "/qxp2-unsupported", "“qxp2-unsupported” cannot be previewed"},
        {relabelled("formatting.qxd", 8, 0x43), "QuarkXPress 6 document: pages of version 5 and later cannot be drawn"},
        {relabelled("textboxes-3.3", 9, 0x42), "QuarkXPress 5 document: pages of version 5 and later cannot be drawn"},
        {relabelled("formatting.qxd", 8, 0x44),
         "“formatting.qxd relabelled 68” cannot be previewed: it is not a QuarkXPress document that can be read"},
        {std::string(SAMPLES) + "/colors.qxd", "“colors.qxd” cannot be previewed: the QuarkXPress reader qxpextract is missing", ""},
    };
    for (const auto& row : rows) {
        auto window = PreviewOfDocument(row.reader, row.path);
        const QLabel* message = window->findChild<QLabel*>("message");
        ASSERT_NE(message, nullptr) << row.message;
        EXPECT_TRUE(message->text().startsWith(QString::fromUtf8(row.message))) << message->text().toStdString();
    }
}

TEST_F(PreviewWindowTest, EscapeAndSpaceCloseCtrlCCopiesAndTheTextCanBeSearched) {
    for (Qt::Key key : {Qt::Key_Escape, Qt::Key_Space}) {
        auto window = PreviewOfDocument(QXPEXTRACT, std::string(SAMPLES) + "/formatting.qxd");
        window->show();
        QTest::keyClick(window->findChild<QPlainTextEdit*>("text"), key);
        EXPECT_FALSE(window->isVisible()) << key;
    }

    auto window = PreviewOfDocument(QXPEXTRACT, std::string(SAMPLES) + "/formatting.qxd");
    window->show();
    auto* text = window->findChild<QPlainTextEdit*>("text");
    auto* find = window->findChild<QLineEdit*>("find");
    auto* matches = window->findChild<QLabel*>("matches");
    const QString whole = text->toPlainText();
    ASSERT_GT(whole.size(), 10);

    text->selectAll();
    QTest::keyClick(text, Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(QApplication::clipboard()->text(), whole);

    // A word of the text: every match counted, the first selected; Enter moves on and wraps.
    const QString word = whole.section(' ', 0, 0).left(4);
    QTest::keyClick(window.get(), Qt::Key_F, Qt::ControlModifier);
    EXPECT_EQ(window->focusWidget(), find);
    QTest::keyClicks(find, word);
    const int count = whole.count(word, Qt::CaseInsensitive);
    EXPECT_EQ(matches->text(), count == 1 ? QString("1 match") : QString("%1 matches").arg(count));
    EXPECT_EQ(text->textCursor().selectedText().toLower(), word.toLower());
    const int first = text->textCursor().position();
    for (int i = 0; i < count; ++i) QTest::keyClick(find, Qt::Key_Return);
    EXPECT_EQ(text->textCursor().position(), first);  // round the whole text and back

    QTest::keyClick(find, Qt::Key_Space);  // typed into the search, not a close
    EXPECT_TRUE(window->isVisible());
    find->setText("no such words anywhere");
    EXPECT_EQ(matches->text(), "not found");
}

}  // namespace

static ::testing::Environment* const privateRuntime = ::testing::AddGlobalTestEnvironment(new PrivateRuntimeFolder());

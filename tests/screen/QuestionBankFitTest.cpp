// Every question of the bank fits the game screen: each answer on its one line, each
// question in its four lines, in the screen's 14-point font.
#include <gtest/gtest.h>

#include <QFont>
#include <QFontInfo>
#include <QFontMetrics>
#include <QString>
#include <filesystem>
#include <fstream>

#include "platform/CFont.h"
#include "platform/qt/GdiObjects.h"

namespace {

TEST(QuestionBank, EveryQuestionAndAnswerFitsItsArea)
{
    CFont screenFont;
    screenFont.CreatePointFont(140, "Arial");
    const QFontMetrics metrics(screenFont.m_hObject->font);
    const int lineHeight = metrics.ascent() + metrics.descent();
    const int width = 400 - lineHeight;  // the answer lines and the question run from L to 400
    EXPECT_EQ(QFontInfo(screenFont.m_hObject->font).family(), "Liberation Sans");

    std::ifstream bank(std::filesystem::path(VANTIX_SOURCE_DIR) / "data" / "questions.tsv");
    ASSERT_TRUE(bank) << "data/questions.tsv";
    int questions = 0;
    for (std::string line; std::getline(bank, line);) {
        if (line.empty() || line[0] == '#')
            continue;
        ++questions;
        const QStringList fields = QString::fromUtf8(line).split('\t');
        ASSERT_EQ(fields.size(), 7) << line;
        const QRect question =
            metrics.boundingRect(QRect(0, 0, width, 100 * lineHeight), Qt::TextWordWrap, fields[1]);
        EXPECT_LE(question.height(), 4 * lineHeight) << fields[1].toStdString();
        for (int i = 2; i < 7; ++i)
            EXPECT_LE(metrics.horizontalAdvance(fields[i]), width) << fields[i].toStdString();
    }
    EXPECT_GE(questions, 300);
}

}  // namespace

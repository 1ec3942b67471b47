#include "Fakes.h"
#include "core/drill/QuestionPlan.h"

#include <QTest>

#include <array>

using namespace mirvo;
using namespace mirvo::test;

class TestQuestionPlan : public QObject
{
    Q_OBJECT

private slots:
    void pickWordPosition_data();
    void pickWordPosition();
    void planQuestion_data();
    void planQuestion();
};

using Positions = std::array<int, 4>;
Q_DECLARE_METATYPE(Positions)

// The largest float below 1, and floats just below and at the edges of floor(r × n).
constexpr float belowOne = 0.99999994f;

void TestQuestionPlan::pickWordPosition_data()
{
    QTest::addColumn<int>("count");
    QTest::addColumn<float>("draw");
    QTest::addColumn<int>("position");
    QTest::newRow("one word, zero") << 1 << 0.0f << 0;
    QTest::newRow("one word, below one") << 1 << belowOne << 0;
    QTest::newRow("two words, half") << 2 << 0.5f << 1;
    QTest::newRow("two words, below half") << 2 << 0.49999997f << 0;
    // 1/3 as a float is a little above a third: the exact product is just over 1.
    QTest::newRow("three words, a third") << 3 << 1.0f / 3 << 1;
    QTest::newRow("three words, below a third") << 3 << 0.3333333f << 0;
    QTest::newRow("three words, below one") << 3 << belowOne << 2;
    QTest::newRow("3600 words, below one") << 3600 << belowOne << 3599;
    QTest::newRow("100000 words, below one") << 100000 << belowOne << 99999;
}

void TestQuestionPlan::pickWordPosition()
{
    QFETCH(int, count);
    QFETCH(float, draw);
    QFETCH(int, position);
    ScriptedRandom random;
    random.script({draw});
    QCOMPARE(mirvo::pickWordPosition(random, count), position);
    QCOMPARE(random.reseeds, 1);
    QCOMPARE(random.draws, 1);
}

void TestQuestionPlan::planQuestion_data()
{
    QTest::addColumn<int>("count");
    QTest::addColumn<QList<float>>("draws");
    QTest::addColumn<int>("right");
    QTest::addColumn<Positions>("positions");
    QTest::newRow("one word: every button is the word") << 1 << QList<float>{0.0f, belowOne, 0.5f, 0.0f} << 1
                                                        << Positions{-1, 0, 0, 0};
    QTest::newRow("two words, right last") << 2 << QList<float>{belowOne, 0.0f, 0.5f, belowOne} << 4
                                           << Positions{0, 1, 1, -1};
    QTest::newRow("three words, slot edge 0.25") << 3 << QList<float>{0.25f, 1.0f / 3, 0.3333333f, 0.7f} << 2
                                                 << Positions{1, -1, 0, 2};
    QTest::newRow("three words, below 0.25") << 3 << QList<float>{0.24999999f, 0.0f, 0.0f, 0.0f} << 1
                                             << Positions{-1, 0, 0, 0};
    QTest::newRow("3600 words, repeats are kept") << 3600 << QList<float>{0.5f, 0.5f, 0.5f, 0.5f} << 3
                                                  << Positions{1800, 1800, -1, 1800};
}

void TestQuestionPlan::planQuestion()
{
    QFETCH(int, count);
    QFETCH(QList<float>, draws);
    QFETCH(int, right);
    QFETCH(Positions, positions);
    ScriptedRandom random;
    random.script(draws);
    const QuestionPlan plan = mirvo::planQuestion(random, count);
    QCOMPARE(plan.right, right);
    QCOMPARE(plan.positions, positions);
    // Reseeded once, then the slot and three distractors: no draw repeated or rejected.
    QCOMPARE(random.reseeds, 1);
    QCOMPARE(random.draws, 4);
    QVERIFY(!random.ranOut);
}

QTEST_GUILESS_MAIN(TestQuestionPlan)
#include "tst_questionplan.moc"

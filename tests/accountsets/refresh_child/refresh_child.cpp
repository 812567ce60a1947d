// Runs the data refresh of every goods on the account set named on the
// command line (walked in key order when "key-order" follows it), for the
// test that kills it at random moments. Prints "walking" as the refresh
// begins and "walked <ms>" once it has committed.

#include "accountsets/Refresh.h"
#include "core/Posting.h"
#include "core/WholeGoodsWalk.h"
#include "platform/Database.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <cstdio>

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    if (argc < 2)
        return 2;
    try {
        Database db;
        db.open(QString::fromLocal8Bit(argv[1]));
        PostingRules rules;
        rules.attributeOn = true;
        std::printf("walking\n");
        std::fflush(stdout);
        QElapsedTimer t;
        t.start();
        const bool keyOrder = argc > 2 && QByteArray(argv[2]) == "key-order";
        RefreshGoods(db, rules, CodeCondition{}, {},
                     keyOrder ? WholeWalkOrder::KeyOrder : WholeWalkOrder::GoodsByGoods);
        std::printf("walked %lld\n", t.elapsed());
    } catch (const DbError& e) {
        std::fprintf(stderr, "%s\n", e.what());
        return 1;
    }
    return 0;
}

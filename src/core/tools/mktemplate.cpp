// Build step: writes the account-set template from the schema.
#include "core/Schema.h"
#include "platform/Database.h"

#include <QCoreApplication>
#include <cstdio>

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: vx_mktemplate <nousit.dat>\n");
        return 2;
    }
    try {
        WriteTemplateFile(QString::fromLocal8Bit(argv[1]));
    } catch (const DbError& e) {
        std::fprintf(stderr, "vx_mktemplate: %s\n", e.what());
        return 1;
    }
    return 0;
}

#include "tests/faults/ListAction.h"

#include "app/shared/ErrorTrap.h"
#include "lists/ListKind.h"
#include "lists/NameAdder.h"
#include "lists/NameDeleter.h"
#include "lists/NameFileLoader.h"
#include "tests/lists/ListEditFixture.h"

QByteArray numberedFile(int count)
{
    QByteArray bytes;
    for (int i = 0; i < count; ++i)
        bytes += "Loaded" + QByteArray::number(i) + "\r\n";
    return bytes;
}

void runListAction(ListEditFixture &fixture, ListAction action, const QString &nameFile)
{
    switch (action) {
    case ListAction::Reload: {
        ErrorTrap trap(fixture.prompts, QStringLiteral("Form1.Option8_Click"));
        trap.check(102, fixture.context.reloadLists());
        break;
    }
    case ListAction::AddName:
        fixture.prompts.inputAnswers.enqueue(QStringLiteral("Added"));
        NameAdder(fixture.context).addName(ListKind::FirstNames);
        break;
    case ListAction::LoadFile:
        fixture.prompts.openFilesAnswers.enqueue({nameFile});
        NameFileLoader(fixture.context).loadFiles(ListKind::FirstNames);
        break;
    case ListAction::ClearNames:
        NameDeleter(fixture.context).deleteOrClear(ListKind::FirstNames, 1, QStringLiteral("Kept"));
        break;
    }
}

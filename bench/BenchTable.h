#pragma once

#include <QList>
#include <QString>

// The benchmark's result table: one row per measured task, printed at the end.
class BenchTable
{
public:
    struct Row
    {
        QString task;
        QString measured;
        QString target;
        bool met;
    };

    void add(const QString &task, double seconds, double targetSeconds);
    void addMemory(const QString &task, double megabytes, double targetMegabytes);
    // A row without a target of its own: a floor, or a time another row's target is made of.
    void addInformational(const QString &task, double seconds);
    void print() const;
    bool allMet() const;

    // Peak resident memory of this process so far, in MB.
    static double peakMemoryMegabytes();

private:
    QList<Row> m_rows;
};

#pragma once

#include <QString>

class Prompts;

// The text of the error dialog for a failure at a numbered step of a handler.
// source is the handler's name below the product, e.g. "Form1.Form_Load".
QString ErrorReportText(const QString &description, const QString &source, int line);

// Shows the error dialog ("Application Error", warning icon, OK only).
void ErrorReport(Prompts &prompts, const QString &description, const QString &source, int line);

#include "register/RegisterFollowUps.h"

#include "app/Clock.h"
#include "app/MainForm.h"
#include "register/CorrectMandateCommand.h"
#include "register/MandateAnswerCommand.h"
#include "register/NewPaymentsCommand.h"
#include "register/RetryCommand.h"

namespace {

RowChange::Applied AppliedTo(TMainForm& form)
{
    return [&form](ListId list, const QList<int>& rows, bool firstRow) {
        form.document().DocModified = true;
        form.selectRows(list, rows);
        form.UpdateView(firstRow);
    };
}

} // namespace

RegisterFollowUps MainFormFollowUps(TMainForm& form)
{
    RegisterFollowUps followUps;
    followUps.retry = [&form](const QList<RegisterPaymentRow>& payments) {
        if (form.undoStack())
            RetryCommand(form.document(), *form.undoStack(), form.prompt(), Clock::system(), AppliedTo(form))
                .run(payments);
    };
    followUps.newPayments = [&form](const QList<RegisterPayerRow>& payers) {
        if (form.undoStack())
            NewPaymentsCommand(form.document(), *form.undoStack(), form.prompt(), *form.BtuForm,
                               AppliedTo(form))
                .run(payers);
    };
    followUps.correct = [&form](const QList<RegisterPayerRow>& payers) {
        if (form.undoStack())
            CorrectMandateCommand(form.document(), *form.undoStack(), form.prompt(), *form.MdgForm,
                                  *form.MdgCompForm, AppliedTo(form))
                .run(payers);
    };
    followUps.answer = [&form](const QList<RegisterPayerRow>& payers, bool approve) {
        if (form.undoStack())
            MandateAnswerCommand(form.document(), *form.undoStack(), form.prompt(), AppliedTo(form))
                .run(payers, approve);
    };
    return followUps;
}

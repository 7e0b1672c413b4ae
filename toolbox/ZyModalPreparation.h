// A dialog that readies itself each time the modal seam is about to run it, and may refuse the run.
#pragma once

class ZyModalPreparation
{
public:
    virtual ~ZyModalPreparation();

    // Fills the dialog for this run, before any handler or modal loop sees it. False refuses the
    // run (the dialog has told the operator why); the seam then answers rejected.
    virtual bool prepareRun() = 0;
};

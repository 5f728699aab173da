#pragma once

class TformMain;

// The teach tab's device actions and the production teach run. Owned by the main window.
class TeachController {
public:
    explicit TeachController(TformMain &window);

    // Part of the global failure handling: the teach buttons become usable again.
    void releaseAfterFailure();

private:
    TformMain &window_;
};

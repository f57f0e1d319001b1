// Uses the cycle from above: outside it, so the check must not name it.
int CycleA(int n);
int CycleUser() { return CycleA(3); }

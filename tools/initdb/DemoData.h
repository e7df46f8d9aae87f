#pragma once

#include "store/Status.h"

// Fills the open, empty database with a small, realistic data set for trying the program
// out: five departments (one without a department report), four ranks, twenty employees,
// two leave cards, a dozen leave records and the user admin with the password admin (stored
// as a hash).
// Everything is written in one transaction: on failure nothing is left behind.
store::Status fillDemo();

// Replaced by the label engine.

// placeholder until the logic lands
